#include "core/WindowConfig.h"

#include <ini.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <strings.h>

namespace Varn
{

namespace
{

// A key and its value as the file spells them, for messages.
struct Written
{
    std::string key;
    std::string value;
};

struct Reading
{
    WindowConfig* config;
    std::string* problems;
    Written windowedWidth{"Windowed_Width", ""};
    Written windowWidth{"Window_Width", ""};
};

void Note(std::string* problems, const std::string& line)
{
    if (problems != nullptr)
    {
        *problems += line + "\n";
    }
}

// Windows' profile reader takes the leading integer of a value and 0 when there is none. Kept
// long so that a value past the int range stays large instead of wrapping round.
long LeadingInt(const char* value)
{
    return std::strtol(value, nullptr, 10);
}

// A mode whose width gives an empty or oversized window after the 16:9 rule goes back to its
// default size; a zero height would divide by zero when the picture is scaled.
void KeepUsable(int& width, int& height, int defaultWidth, int defaultHeight, const Written& written,
                std::string* problems)
{
    if (width <= WindowConfig::MAX_SIZE && height > 0 && height <= WindowConfig::MAX_SIZE)
    {
        return;
    }
    Note(problems, "Error: Failed To Read gameConfig.ini: " + written.key + " = \"" + written.value +
                       "\" gives a " + std::to_string(width) + " x " + std::to_string(height) +
                       " window; using the default " + std::to_string(defaultWidth) + " x " +
                       std::to_string(defaultHeight));
    width = defaultWidth;
    height = defaultHeight;
}

int Handle(void* user, const char* section, const char* key, const char* value)
{
    auto* reading = static_cast<Reading*>(user);
    if (strcasecmp(section, "Game Settings") != 0)
    {
        return 1;
    }
    WindowConfig& c = *reading->config;
    const long number = LeadingInt(value);
    int* size = nullptr;
    if (strcasecmp(key, "Windowed_Width") == 0)
    {
        size = &c.windowedWidth;
        reading->windowedWidth = {key, value};
    }
    else if (strcasecmp(key, "Windowed_Height") == 0)
    {
        size = &c.windowedHeight;
    }
    else if (strcasecmp(key, "Window_Width") == 0)
    {
        size = &c.windowWidth;
        reading->windowWidth = {key, value};
    }
    else if (strcasecmp(key, "Window_Height") == 0)
    {
        size = &c.windowHeight;
    }
    else if (strcasecmp(key, "Window_Fullscreen") == 0)
    {
        c.windowFullscreen = number != 0;
    }
    if (size != nullptr)
    {
        // A size of zero or less would divide by zero downstream: keep the default.
        if (number > 0)
        {
            *size = static_cast<int>(std::min<long>(number, std::numeric_limits<int>::max()));
        }
        else
        {
            Note(reading->problems, std::string("Error: Failed To Read gameConfig.ini: ") + key + " = \"" +
                                        value + "\" is not a positive size; using the default");
        }
    }
    return 1;
}

} // namespace

std::string WindowConfig::FindFile()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::filesystem::path folder;
    if (configHome != nullptr && *configHome != '\0')
    {
        folder = configHome;
    }
    else if (home != nullptr && *home != '\0')
    {
        folder = std::filesystem::path(home) / ".config";
    }
    std::error_code error;
    const std::filesystem::path own = folder / "Corvalune" / "gameConfig.ini";
    return !folder.empty() && std::filesystem::is_regular_file(own, error) ? own.string() : "gameConfig.ini";
}

int WindowConfig::ForceAspect(int width, int height)
{
    // Computed in float on purpose: 1280 / 1.7777778 is exactly 720 there, so 721 is kept.
    const float ideal = static_cast<float>(width) / ASPECT;
    if (std::fabs(static_cast<float>(height) - ideal) > 1.0f)
    {
        return static_cast<int>(ideal);
    }
    return height;
}

WindowConfig WindowConfig::Load(const std::string& path, std::string* problems)
{
    WindowConfig config;
    Reading reading{&config, problems};
    const int result = ini_parse(path.c_str(), Handle, &reading);
    if (result > 0)
    {
        Note(problems,
             "Error: Failed To Read gameConfig.ini: syntax error on line " + std::to_string(result));
    }
    const WindowConfig defaults;
    config.windowedHeight = ForceAspect(config.windowedWidth, config.windowedHeight);
    KeepUsable(config.windowedWidth, config.windowedHeight, defaults.windowedWidth, defaults.windowedHeight,
               reading.windowedWidth, problems);
    config.windowHeight = ForceAspect(config.windowWidth, config.windowHeight);
    KeepUsable(config.windowWidth, config.windowHeight, defaults.windowWidth, defaults.windowHeight,
               reading.windowWidth, problems);
    return config;
}

} // namespace Varn
