#pragma once
// A run written down so that it can be played again exactly: the seed, the first scene and the
// picture's size, then every reading of the frame clock and every step's input, in the order
// the engine asked for them. Played back, the same readings and samples come out in the same
// order, so every step sees the same time, keys and draws. When the file runs out, or stops
// matching what the engine asks for, the real clock and devices take over and the game goes
// on. The file is text, one event a line, so that a run can be read and cut by hand:
//
//   corvalune-replay 1
//   seed 1234
//   scene Resources/Scenes/Level1.scene
//   picture 1280 720
//   t 16683021            a clock reading: nanoseconds since the recording began
//   r                     the window lost or found focus, and the frame timer started afresh
//   i 640 360 39,88       a step's input: cursor from the picture's top left, keys held or pressed
//   i 640 360 - p 4096 0 0 0 0 0 0   ... and the pad when one is connected: buttons, triggers, sticks
#include "core/Clock.h"
#include "core/IInputSource.h"

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

namespace Varn
{

class Window;

class Replay final : public IClock
{
public:
    struct Header
    {
        uint32_t seed = 0;
        std::string scene;
        int pictureWidth = 0, pictureHeight = 0;
    };

    // Starts writing a run to `path`, reading the time from `clock` (null: the steady clock).
    // Null, with the reason in `problem`, when the file cannot be written.
    static std::unique_ptr<Replay> Record(const std::string& path, const Header& header, std::string& problem,
                                          const IClock* clock = nullptr);
    // Opens a recorded run; null, with the reason in `problem`, when the file cannot be read or
    // its header is not a replay's. `clock` is the one that takes over at the end.
    static std::unique_ptr<Replay> Play(const std::string& path, std::string& problem,
                                        const IClock* clock = nullptr);
    ~Replay() override;

    // Recording: the clock's reading, written down. Playing: the next recorded reading, then
    // the clock's, moved on so that time never runs backwards.
    int64_t NowNanoseconds() const override;
    // The input seam: recording, `live`'s samples written down as they pass; playing, the
    // recorded samples, then `live`'s. `window` places the cursor relative to the picture.
    std::unique_ptr<IInputSource> WrapInput(std::unique_ptr<IInputSource> live, const Window& window);

    // Recording: the frame timer is about to start afresh because the window lost or found
    // focus. Playing: true, once each, for the restarts recorded before the next clock reading.
    void RecordRestart();
    bool TakeRestart();

    const Header& header() const { return head; }
    bool Recording() const { return recording; }
    // Playing: every recorded event has been given out, or the file stopped matching.
    bool Ended() const { return ended; }
    int Steps() const { return steps; } // samples written or given out so far
    // Why playback ended before the file did; empty when it did not.
    const std::string& Problem() const { return problem; }
    void Flush();

private:
    class Input;

    Replay(const std::string& path, bool recording, const IClock* clock);
    // The rest of the next line when it is an event of `kind`; otherwise ends playback (a
    // different event is a run out of step) and returns false.
    bool Next(char kind, std::string& rest) const;
    void ReadAhead() const; // the next event line into `pending`, or the end
    // Ends playback with `why`, the clock carrying on from the last reading given out.
    void Stop(const std::string& why) const;
    // A step's input from an event line's rest; false (playback stopped) when it is damaged.
    bool ReadSample(const std::string& rest, InputSample& sample);
    void WriteSample(const InputSample& sample);

    const IClock& clock;
    bool recording;
    Header head;
    std::string path;
    // The clock is read through a const interface, yet each reading moves the file on.
    mutable std::ofstream out;
    mutable std::ifstream in;
    mutable std::string pending; // the next event line, read ahead to see the end coming
    mutable int pendingLine = 0; // its number in the file
    mutable int line = 0;        // the number of the event line given out last
    mutable bool ended = false;
    mutable std::string problem;
    int64_t firstReading = 0;        // the clock when the recording or playback began
    mutable int64_t lastReading = 0; // playing: the last reading given out
    mutable int64_t liveOffset = 0;  // playing, after the end: added to the clock's readings
    int steps = 0;
};

} // namespace Varn
