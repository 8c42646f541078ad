#pragma once
// The game's save data: named bools, floats and strings shared by every script ("#g_name").
// Read when the ScriptSystem is built: the shipped defaults, then the per-user file over them
// (seeded from the defaults on first run); written back when it is destroyed. Scripts change
// values, never names.
#include <cstdint>
#include <map>
#include <string>

namespace Varn
{
class Logger;
}

namespace Varn::Script
{

class GlobalVariables
{
public:
    static constexpr const char* DEFAULT_FILE = "Resources//Scripts//GlobalVariables.orin";
    static constexpr const char* FILE_NAME = "GlobalVariables.orin";

    // The per-user folder: "$CORVALUNE_SAVE_DIR" as it is when set (a save folder chosen on the
    // command line), else "$APPDATA/Corvalune", else "$XDG_DATA_HOME/Corvalune", else
    // "$HOME/.local/share/Corvalune"; empty when none of those is set (globals are then off).
    static std::string UserFolder();

    // Failures to read or write the files are told to `logger`.
    explicit GlobalVariables(Logger& logger) : logger(logger) {}

    // Seeds the per-user file from the default file when it does not exist yet, then reads it.
    // A file with no readable line is renamed with a ".unreadable" suffix and seeded afresh.
    void Load();
    // Writes every value to the per-user file through a temporary file renamed over it, so
    // an interrupted save leaves the previous file whole. False (with a log line) on failure.
    bool Save() const;

    // One line of the file; false for a line that is skipped (unknown type, bad number).
    bool ReadLine(const std::string& line);
    // The file's text: bools, then floats (each the shortest text that reads back to the same
    // value), then strings.
    std::string Text() const;

    std::map<std::string, bool> bools;
    std::map<std::string, float> floats;
    std::map<std::string, std::string> strings;
    uint64_t version = 0; // renewed by Load, which may drop entries

private:
    // Writes the default file's lines as the per-user file; logs a failure.
    void Seed(const std::string& defaults) const;

    Logger& logger;
    std::string userFile;  // empty when there is no per-user folder
    bool writable = false; // the per-user file was read (or seeded) successfully
};

} // namespace Varn::Script
