#pragma once
// Frame timing for the main loop and the stopwatches ("frame counters") used by behaviours.
// Owned by the Engine; the frame loop is the only writer of the time stamps. The Timer owns
// every counter it hands out.
#include "core/Clock.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Varn
{

// A stopwatch that the frame loop advances by a fixed 1/60 s per displayed frame.
struct FrameCounter
{
    float elapsed = 0.0f;     // seconds, +1/60 per displayed frame while not paused
    float realSeconds = 0.0f; // seconds of wall time since startTicks, refreshed on request
    float lastElapsed = 0.0f; // seconds: `elapsed` when the counter was last restarted
    bool paused = false;
    int64_t startTicks = 0; // 100 ns ticks of the tick clock

    void UpdateRealSeconds();
};

class Timer
{
public:
    // A counter's step per displayed frame: 1/60 as a float, not the measured frame time.
    static constexpr float COUNTER_STEP = 0.016666668f;

    // clock may be null, meaning the real steady clock; a non-null clock must outlive the Timer.
    explicit Timer(const IClock* clock = nullptr);

    // Starts a new frame: measures deltaTime since the previous frame and derives fps.
    void BeginFrame();
    // Advances every unpaused counter by one displayed frame.
    void AdvanceCounters();
    // Forgets the time that passed while the game was in the background.
    void Reset();

    FrameCounter* CreateCounter(bool paused);
    // Removes and destroys the counter, keeping the order of the rest; false when not listed.
    bool KillCounter(const FrameCounter* counter);
    // True while the counter is in the list; a killed counter's address must not be read.
    bool HasCounter(const FrameCounter* counter) const;
    const std::vector<std::unique_ptr<FrameCounter>>& Counters() const { return counters; }

    void SetClock(const IClock* clock); // null restores the real clock; also resets
    int64_t Now() const { return clock->NowNanoseconds(); }

    int64_t lastTime = 0;    // nanoseconds, previous frame
    int64_t currentTime = 0; // nanoseconds, this frame
    float timeScale = 1.0f;  // multiplies the fixed step
    double deltaTime = 0.0;  // seconds between the last two frames
    double fps = 0.0;        // 1 / deltaTime

private:
    const IClock* clock; // never null
    std::vector<std::unique_ptr<FrameCounter>> counters;
};

} // namespace Varn
