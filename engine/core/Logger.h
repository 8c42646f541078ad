#pragma once
// Collects log lines from every subsystem; the frame loop flushes them to standard output
// once per displayed frame. Loaders only append. With a log file open, every line also goes
// there: at each flush, and at once for an error line, so that a crash loses no error.
#include <string>
#include <vector>

namespace Varn
{

class Logger
{
public:
    Logger() = default;
    virtual ~Logger(); // flushes the file and closes it
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // Also writes every line into `path`, after moving the previous run's file to `path`.1.
    // False when the file cannot be made; logging goes on without it.
    bool OpenFile(const std::string& path);
    // The open file's descriptor, or -1: what a crash handler may write its last line to.
    int FileDescriptor() const { return fd; }

    // Writes every collected line to standard output, one per line, then forgets them.
    virtual void Flush();

    void Log(std::string line);
    const std::vector<std::string>& Lines() const { return lines; }
    void Clear();

private:
    void WriteToFile(); // the lines not yet in the file

    std::vector<std::string> lines;
    std::size_t filed = 0; // lines[0, filed) are in the file already
    int fd = -1;
};

} // namespace Varn
