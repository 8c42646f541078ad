#pragma once
// Environment variables a test changes: each named one is put back as it was (or unset) when the
// object goes, so no test leaves another a different save folder, display or driver.
#include "resource/AudioManager.h"

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Varn::Test
{

class SavedEnvironment
{
public:
    explicit SavedEnvironment(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
        {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~SavedEnvironment()
    {
        for (const auto& [name, value] : saved)
        {
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        }
    }
    SavedEnvironment(const SavedEnvironment&) = delete;
    SavedEnvironment& operator=(const SavedEnvironment&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

// Closes `audio` and opens it again on SDL's `driver` (the disk driver writing to `file`, one
// buffer every `bufferMilliseconds`); the process's own driver setting is restored afterwards.
inline void ReopenOn(Resource::AudioManager& audio, const std::string& driver, const std::string& file = "",
                     int bufferMilliseconds = 5)
{
    const SavedEnvironment saved{"SDL_AUDIODRIVER"};
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    if (!file.empty())
    {
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", std::to_string(bufferMilliseconds).c_str(), 1);
    }
    audio.Close();
    audio.Open();
}

} // namespace Varn::Test
