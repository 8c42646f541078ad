#pragma once
// Runs a shell command, for tests that start one of the built programs.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>
#include <utility>

namespace Varn::Test
{

// Runs `command`; its standard output, and its exit code (-1 when it did not exit by itself).
inline std::pair<std::string, int> RunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
    {
        return {output, -1};
    }
    std::array<char, 4096> buffer;
    while (std::size_t read = std::fread(buffer.data(), 1, buffer.size(), pipe))
    {
        output.append(buffer.data(), read);
    }
    const int status = pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

} // namespace Varn::Test
