#include "GameOptions.h"

#include <charconv>
#include <string_view>

namespace Varn::Game
{

const char* GameOptions::Usage()
{
    return "usage: corvalune [OPTION]...\n"
           "  --scene PATH     start on this scene file instead of the logo\n"
           "  --data DIR       the folder that holds Resources/ (else the current one, or the game's)\n"
           "  --save-dir DIR   keep the save in DIR instead of the player's folder\n"
           "  --seed N         draw every random number from this seed, so a run can be repeated\n"
           "  --version        print the version and stop\n"
           "  --help           print this and stop\n";
}

GameOptions GameOptions::Parse(int argc, const char* const* argv)
{
    GameOptions options;
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
        }
        else
        {
            options.problem = "unknown option " + std::string(word);
        }
    }
    return options;
}

} // namespace Varn::Game
