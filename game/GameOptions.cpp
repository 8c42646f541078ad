#include "GameOptions.h"

#include <cctype>
#include <charconv>
#include <string_view>

namespace Varn::Game
{

namespace
{

constexpr int MIN_SIDE = 16;
constexpr int MAX_SIDE = 16384; // the largest texture a layer's framebuffer is sure to get

// "1600x900": two whole numbers joined by an x, each within the usable range.
bool ParseSize(const std::string& text, int& width, int& height)
{
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos)
    {
        return false;
    }
    const char* end = text.data() + text.size();
    const auto [afterWidth, widthError] = std::from_chars(text.data(), text.data() + cross, width);
    const auto [afterHeight, heightError] = std::from_chars(text.data() + cross + 1, end, height);
    return widthError == std::errc() && afterWidth == text.data() + cross && heightError == std::errc() &&
           afterHeight == end && width >= MIN_SIDE && width <= MAX_SIDE && height >= MIN_SIDE &&
           height <= MAX_SIDE;
}

} // namespace

const char* GameOptions::Usage()
{
    return "usage: corvalune [OPTION]...\n"
           "  --scene PATH     start on this scene file instead of the logo\n"
           "  --data DIR       the folder that holds Resources/ (else the current one, or the game's)\n"
           "  --save-dir DIR   keep the save in DIR instead of the player's folder\n"
           "  --seed N         draw every random number from this seed, so a run can be repeated\n"
           "  --windowed [WxH] start in a window, of W x H pixels if given (16:9 is kept)\n"
           "  --fullscreen     start full screen\n"
           "  --watch          reload scripts, textures, prefabs and the scene as their files change\n"
           "                   (F5 reloads them at any time)\n"
           "  --overlay        show the debug overlay from the start (F3 shows and hides it)\n"
           "  --record FILE    write the run to FILE (seed, clock and every step's input) as it plays\n"
           "  --replay FILE    play a recorded run again, then hand over to the devices; the scene,\n"
           "                   seed and picture size come from the file\n"
           "  --log-level L    error, warning, info (the default) or debug\n"
           "  --version        print the version and stop\n"
           "  --help           print this and stop\n";
}

GameOptions GameOptions::Parse(int argc, const char* const* argv)
{
    GameOptions options;
    bool startChosen = false; // a scene, seed or window given: a replay brings its own
    for (int i = 1; i < argc && options.problem.empty(); ++i)
    {
        const std::string_view word = argv[i];
        // The options that take a value; each reads the next word.
        const auto value = [&](std::string& into)
        {
            if (i + 1 == argc)
            {
                options.problem = std::string(word) + " needs a value";
                return;
            }
            into = argv[++i];
        };
        if (word == "--help" || word == "-h")
        {
            options.help = true;
        }
        else if (word == "--version")
        {
            options.version = true;
        }
        else if (word == "--scene")
        {
            value(options.scene);
            startChosen = true;
        }
        else if (word == "--data")
        {
            value(options.dataDir);
        }
        else if (word == "--save-dir")
        {
            value(options.saveDir);
        }
        else if (word == "--seed")
        {
            std::string text;
            value(text);
            uint32_t seed = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
            if (options.problem.empty() && (error != std::errc() || end != text.data() + text.size()))
            {
                options.problem = "--seed needs a whole number from 0 to 4294967295, not \"" + text + "\"";
            }
            options.seed = seed;
            startChosen = true;
        }
        else if (word == "--watch")
        {
            options.watch = true;
        }
        else if (word == "--overlay")
        {
            options.overlay = true;
        }
        else if (word == "--fullscreen")
        {
            options.fullscreen = true;
            startChosen = true;
        }
        else if (word == "--windowed")
        {
            options.fullscreen = false;
            startChosen = true;
            // The size is optional: only a next word shaped WxH is taken as one.
            if (i + 1 < argc && std::isdigit(static_cast<unsigned char>(argv[i + 1][0])))
            {
                const std::string size = argv[++i];
                if (!ParseSize(size, options.windowedWidth, options.windowedHeight))
                {
                    options.problem = "--windowed takes a size like 1600x900 (each side from " +
                                      std::to_string(MIN_SIDE) + " to " + std::to_string(MAX_SIDE) +
                                      "), not \"" + size + "\"";
                }
            }
        }
        else if (word == "--record")
        {
            value(options.record);
        }
        else if (word == "--replay")
        {
            value(options.replay);
        }
        else if (word == "--log-level")
        {
            std::string name;
            value(name);
            const std::optional<Logger::LEVEL> level = Logger::ParseLevel(name);
            if (options.problem.empty() && !level)
            {
                options.problem = "--log-level is error, warning, info or debug, not \"" + name + "\"";
            }
            options.logLevel = level.value_or(Logger::INFO);
        }
        else
        {
            options.problem = "unknown option " + std::string(word);
        }
    }
    if (options.problem.empty() && !options.replay.empty() && (startChosen || !options.record.empty()))
    {
        options.problem = "--replay takes the scene, the seed and the picture's size from its file; it does "
                          "not go with --scene, --seed, --windowed, --fullscreen or --record";
    }
    return options;
}

} // namespace Varn::Game
