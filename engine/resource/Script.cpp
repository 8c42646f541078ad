#include "resource/Script.h"

namespace Varn::Resource
{

std::vector<std::string> Script::Tokenise(const std::string& text)
{
    std::vector<std::string> tokens;
    std::size_t lineStart = 0;
    while (lineStart < text.size())
    {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
        {
            lineEnd = text.size();
        }
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        // Files written on Windows end their lines with CR LF; text mode drops the CR there.
        if (!line.empty() && line.back() == '\r')
        {
            line.pop_back();
        }
        std::size_t tokenStart = 0;
        for (;;)
        {
            const std::size_t space = line.find(' ', tokenStart);
            if (space == std::string::npos)
            {
                tokens.push_back(line.substr(tokenStart));
                break;
            }
            tokens.push_back(line.substr(tokenStart, space - tokenStart));
            tokenStart = space + 1;
        }
        tokens.emplace_back(); // the line-end marker
        lineStart = lineEnd + 1;
    }
    return tokens;
}

} // namespace Varn::Resource
