#include "resource/Script.h"

namespace Varn::Resource
{

namespace
{
void Cut(const std::string& text, std::vector<std::string>& tokens, std::vector<uint32_t>* lines)
{
    std::size_t lineStart = 0;
    uint32_t number = 0;
    while (lineStart < text.size())
    {
        ++number;
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
        if (lines != nullptr)
        {
            lines->resize(tokens.size(), number);
        }
        lineStart = lineEnd + 1;
    }
}
} // namespace

std::vector<std::string> Script::Tokenise(const std::string& text)
{
    std::vector<std::string> tokens;
    Cut(text, tokens, nullptr);
    return tokens;
}

void Script::Read(const std::string& text)
{
    tokens.clear();
    lines.clear();
    Cut(text, tokens, &lines);
}

} // namespace Varn::Resource
