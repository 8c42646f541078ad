#pragma once
// The command line the developer tools share: their own positional arguments, plus
// "--save-dir DIR" (where the run's save goes; a temporary folder by default), "--help", and
// "--steps N" for the tools that run a scene by simulation steps.
#include <cstdlib>
#include <string>
#include <vector>

namespace Varn::Tools
{

struct ToolArguments
{
    std::vector<std::string> positional;
    std::string saveDir; // empty: a temporary folder
    bool help = false;
    int steps = 0;       // "--steps N"; 0 when not given
    std::string problem; // an option the tools do not know, or one missing its value

    static ToolArguments Parse(int argc, char** argv)
    {
        ToolArguments parsed;
        for (int i = 1; i < argc; ++i)
        {
            const std::string word = argv[i];
            if (word == "--help" || word == "-h")
            {
                parsed.help = true;
            }
            else if (word == "--save-dir")
            {
                if (i + 1 == argc)
                {
                    parsed.problem = "--save-dir needs a folder";
                    break;
                }
                parsed.saveDir = argv[++i];
            }
            else if (word == "--steps")
            {
                parsed.steps = i + 1 < argc ? std::atoi(argv[++i]) : 0;
                if (parsed.steps <= 0)
                {
                    parsed.problem = "--steps needs a number of steps above 0";
                    break;
                }
            }
            else if (word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9'))
            {
                parsed.problem = "unknown option " + word;
                break;
            }
            else
            {
                parsed.positional.push_back(word); // a negative number is a value, not an option
            }
        }
        return parsed;
    }
};

} // namespace Varn::Tools
