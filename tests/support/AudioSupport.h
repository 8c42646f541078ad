#pragma once
// The audio manager on a chosen SDL driver, for tests of sound output.
#include "resource/AudioManager.h"

#include <cstdlib>
#include <string>

namespace Varn::Test
{

// Closes `audio` and opens it again on SDL's `driver` (the disk driver writing to `file`, one
// buffer every `bufferMilliseconds`); the process's own driver setting is restored afterwards.
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

} // namespace Varn::Test
