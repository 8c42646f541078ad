#include "core/WindowConfig.h"

#include <ini.h>

#include <cmath>
#include <cstdlib>
#include <strings.h>

namespace Varn
{

namespace
{

struct Reading
{
    WindowConfig* config;
    std::string* problems;
};

void Note(std::string* problems, const std::string& line)
{
    if (problems != nullptr)
    {
        *problems += line + "\n";
    }
}

// Windows' profile reader takes the leading integer of a value and 0 when there is none.
int LeadingInt(const char* value)
{
    return static_cast<int>(std::strtol(value, nullptr, 10));
}

int Handle(void* user, const char* section, const char* key, const char* value)
{
    auto* reading = static_cast<Reading*>(user);
    if (strcasecmp(section, "Game Settings") != 0)
    {
        return 1;
    }
    WindowConfig& c = *reading->config;
    const int number = LeadingInt(value);
    int* size = nullptr;
    if (strcasecmp(key, "Windowed_Width") == 0)
    {
        size = &c.windowedWidth;
    }
    else if (strcasecmp(key, "Windowed_Height") == 0)
    {
        size = &c.windowedHeight;
    }
    else if (strcasecmp(key, "Window_Width") == 0)
    {
        size = &c.windowWidth;
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
            *size = number;
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
    config.windowedHeight = ForceAspect(config.windowedWidth, config.windowedHeight);
    config.windowHeight = ForceAspect(config.windowWidth, config.windowHeight);
    return config;
}

} // namespace Varn
