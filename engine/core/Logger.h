#pragma once
// Collects log lines from every subsystem; the frame loop flushes them to standard output
// once per displayed frame. Loaders only append.
#include <string>
#include <vector>

namespace Varn
{

class Logger
{
public:
    virtual ~Logger() = default;

    // Writes every collected line to standard output, one per line, then forgets them.
    virtual void Flush();

    void Log(std::string line) { lines.push_back(std::move(line)); }
    const std::vector<std::string>& Lines() const { return lines; }
    void Clear() { lines.clear(); }

private:
    std::vector<std::string> lines;
};

} // namespace Varn
