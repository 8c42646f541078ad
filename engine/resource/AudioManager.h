#pragma once
// Sound playback in two channel groups. (Not built yet: pausing, resuming and the per-frame
// update do nothing until the mixer is wired in.)

namespace Varn::System
{

class AudioManager
{
public:
    AudioManager() = default;
    AudioManager(const AudioManager&) = delete;
    AudioManager& operator=(const AudioManager&) = delete;

    void Update() {}
    void PauseAll() {}
    void ResumeAll() {}
};

} // namespace Varn::System
