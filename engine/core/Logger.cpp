#include "core/Logger.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace Varn
{

namespace
{
// "Error: Texture ... Failed to Load", "ORINCompiler: [ERROR]Invalid Action in Walker".
bool IsError(const std::string& line)
{
    return line.starts_with("Error") || line.find("[ERROR]") != std::string::npos ||
           line.starts_with("Something is wrong with ");
}

void WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size())
    {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote <= 0)
        {
            return; // a full disk loses log lines, never the game
        }
        done += static_cast<std::size_t>(wrote);
    }
}
} // namespace

Logger::~Logger()
{
    if (fd >= 0)
    {
        WriteToFile();
        close(fd);
    }
}

bool Logger::OpenFile(const std::string& path)
{
    std::rename(path.c_str(), (path + ".1").c_str()); // nothing to keep on a first run
    const int opened = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (opened < 0)
    {
        return false;
    }
    if (fd >= 0)
    {
        close(fd);
    }
    fd = opened;
    filed = 0;
    WriteToFile(); // what was logged before the file opened
    return true;
}

std::optional<Logger::LEVEL> Logger::ParseLevel(const std::string& name)
{
    static const std::pair<const char*, LEVEL> names[] = {
        {"error", ERROR}, {"warning", WARNING}, {"info", INFO}, {"debug", DEBUG}};
    for (const auto& [text, value] : names)
    {
        if (name == text)
        {
            return value;
        }
    }
    return std::nullopt;
}

void Logger::Log(std::string line, LEVEL at)
{
    const bool error = IsError(line);
    if (!error && at > level)
    {
        return;
    }
    if (recent.size() == RECENT)
    {
        recent.pop_front();
    }
    recent.push_back(line);
    lines.push_back(std::move(line));
    if (error)
    {
        WriteToFile();
    }
}

void Logger::WriteToFile()
{
    if (fd < 0)
    {
        return;
    }
    std::string text;
    for (; filed < lines.size(); ++filed)
    {
        text += lines[filed];
        text += '\n';
    }
    WriteAll(fd, text);
}

void Logger::Clear()
{
    lines.clear();
    filed = 0;
}

void Logger::Flush()
{
    WriteToFile();
    for (const std::string& line : lines)
    {
        std::cout << line << std::endl;
    }
    lines.clear();
    filed = 0;
}

} // namespace Varn
