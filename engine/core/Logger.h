#pragma once
// Collects log lines from every subsystem; the frame loop flushes them to standard output
// once per displayed frame. Loaders only append. With a log file open, every line also goes
// there: at each flush, and at once for an error line, so that a crash loses no error.
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace Varn
{

class Logger
{
public:
    // How much a line matters; a logger keeps the lines at or above its `level`.
    enum LEVEL
    {
        ERROR,   // something of the content or the system failed
        WARNING, // content the game works round: an unknown key, a misspelt tag
        INFO,    // what the game is doing: its start lines, lines scripts print
        DEBUG    // details for finding a fault: load times
    };
    // "error", "warning", "info" or "debug"; nullopt for anything else.
    static std::optional<LEVEL> ParseLevel(const std::string& name);

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

    // A line that reads as an error ("Error...", "[ERROR]", "Something is wrong with ...") is
    // an error whatever `at` says. Lines above `level` are dropped.
    void Log(std::string line, LEVEL at = INFO);
    const std::vector<std::string>& Lines() const { return lines; }
    // The last RECENT lines logged, kept across flushes, oldest first: what the overlay shows.
    static constexpr std::size_t RECENT = 6;
    const std::deque<std::string>& Recent() const { return recent; }
    void Clear();

    LEVEL level = INFO;

private:
    void WriteToFile(); // the lines not yet in the file

    std::vector<std::string> lines;
    std::deque<std::string> recent;
    std::size_t filed = 0; // lines[0, filed) are in the file already
    int fd = -1;
};

} // namespace Varn
