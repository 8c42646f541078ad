#pragma once
// Audio managers on chosen SDL drivers, for tests of sound output.
#include "resource/AudioManager.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace Varn::Test
{

// An audio manager opened on `driver` (with `file` as the disk driver's output, if given, one
// buffer every `bufferMilliseconds`); the process's own driver setting is restored afterwards.
// Closes `audio` and opens it again on SDL's `driver` (the disk driver writing to `file`).
inline void ReopenOn(Resource::AudioManager& audio, const std::string& driver, const std::string& file = "",
                     int bufferMilliseconds = 5)
{
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = previous ? previous : "";
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    if (!file.empty())
    {
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", std::to_string(bufferMilliseconds).c_str(), 1);
    }
    audio.Close();
    audio.Open();
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
}

// An output on SDL's `driver`, opened on its own.
inline std::unique_ptr<Resource::AudioManager>
AudioOn(const std::string& driver, const std::string& file = "", int bufferMilliseconds = 5)
{
    auto audio = std::make_unique<Resource::AudioManager>();
    ReopenOn(*audio, driver, file, bufferMilliseconds);
    return audio;
}

} // namespace Varn::Test
