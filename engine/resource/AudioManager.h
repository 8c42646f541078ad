#pragma once
// Sound output through SDL_mixer: 36 mixing channels shared by two channel groups of our own,
// so that stopping, pausing and resuming act on whole groups. Without an output device the
// manager stays closed and every call is a harmless no-op. Sounds belong to the
// ResourceManager; this class only plays them. Main thread only.
#include <vector>

namespace Varn::Resource
{
class Audio;

class AudioManager
{
public:
    static constexpr int CHANNELS = 36;
    static constexpr int FREQUENCY = 44100;
    static constexpr double REPEAT_WINDOW = 0.05; // seconds; about one mixing buffer

    AudioManager() { Open(); }
    ~AudioManager() { Close(); }
    AudioManager(const AudioManager&) = delete;
    AudioManager& operator=(const AudioManager&) = delete;

    // Once per displayed frame, with the frame's length: forgets finished channels and moves
    // fading channels along the fade-in curve (paused groups do not advance).
    void Update(double frameSeconds);
    // Plays `sound` into the secondary group when `useSecondaryGroup`, else the primary one;
    // `loop` repeats it until stopped; `fadeIn` raises it from silence over seven seconds. A
    // start repeated within REPEAT_WINDOW (same sound, group and flags) is dropped.
    void PlaySound(const Audio* sound, bool useSecondaryGroup, bool loop, bool fadeIn);
    // Stops every channel of the primary group, then of the secondary group.
    void StopSound();
    void PauseAll();  // focus lost
    void ResumeAll(); // focus regained

    // A group's volume from 0 to 1 (clamped), applied at once to what the group is playing.
    void SetVolume(bool secondaryGroup, float volume);

    // The fade-in volume factor `seconds` after a fading sound started.
    static float FadeVolume(double seconds);

    // Opens the output on SDL's audio driver of the moment, or stays silent without one.
    void Open();
    // Halts every channel and closes the output; a later Open starts afresh on any driver.
    void Close();
    bool IsOpen() const { return open; }
    // Channels a group is playing now (including paused ones); tests and tools read this.
    int PlayingCount(bool secondaryGroup) const;

    float primaryVolume = 1.0f;
    float secondaryVolume = 1.0f;
    float masterVolume = 1.0f;

private:
    struct PlayingChannel
    {
        int channel = -1;
        bool fading = false;
        double elapsed = 0.0; // seconds of playback, for the fade
    };
    struct ChannelGroup
    {
        std::vector<PlayingChannel> channels;
        float volume = 1.0f;
        bool paused = false;
    };

    ChannelGroup& Group(bool secondary) { return secondary ? secondaryGroup : primaryGroup; }
    void ApplyVolume(const ChannelGroup& group, const PlayingChannel& playing) const;
    void Forget(int channel); // a channel the mixer hands out again leaves its old group
    void Stop(ChannelGroup& group);
    void SetPaused(ChannelGroup& group, bool paused);

    bool open = false;
    ChannelGroup primaryGroup;
    ChannelGroup secondaryGroup;
    struct Start
    {
        const Audio* sound;
        bool secondary, loop, fadeIn;
        double age; // seconds of Update since the start
        bool operator==(const Start& other) const
        {
            return sound == other.sound && secondary == other.secondary && loop == other.loop &&
                   fadeIn == other.fadeIn;
        }
    };
    std::vector<Start> recentStarts;
};

} // namespace Varn::Resource
