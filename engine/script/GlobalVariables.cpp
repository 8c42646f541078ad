#include "script/GlobalVariables.h"

#include "core/FilePath.h"
#include "core/Logger.h"
#include "script/ScriptProgram.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <unistd.h>

namespace Varn::Script
{

namespace
{

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// Lines split at line feeds; carriage returns left at a line's end by an editor are dropped,
// all of them: a save writes none there, so a value keeps the same text from save to save.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
    {
        while (!line.empty() && line.back() == '\r')
        {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// Writes `text` to `path` so that a crash at any point leaves either the old file or the new
// one: a temporary file in the same folder is written, flushed to disk and renamed over it.
bool WriteAtomically(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(NativePath(temporary).c_str(), "wb");
    if (file == nullptr)
    {
        return false;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
    written = fsync(fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    std::error_code error;
    if (written)
    {
        std::filesystem::rename(NativePath(temporary), NativePath(path), error);
    }
    if (!written || error)
    {
        std::filesystem::remove(NativePath(temporary), error);
        return false;
    }
    return true;
}

// Renames an unreadable save to `path` + ".unreadable", or ".unreadable.2" and on when an
// earlier one holds that name, so no such file is ever replaced. Empty when it cannot be moved.
std::string SetAside(const std::string& path)
{
    std::error_code error;
    std::string aside = path + ".unreadable";
    for (int n = 2; std::filesystem::exists(NativePath(aside), error); ++n)
    {
        aside = path + ".unreadable." + std::to_string(n);
    }
    std::filesystem::rename(NativePath(path), NativePath(aside), error);
    return error ? std::string() : aside;
}

} // namespace

std::string GlobalVariables::UserFolder()
{
    // Chosen on the command line (the game's --save-dir, a tool's own folder): taken as it is.
    if (const std::string chosen = Environment("CORVALUNE_SAVE_DIR"); !chosen.empty())
    {
        return chosen;
    }
    if (const std::string appData = Environment("APPDATA"); !appData.empty())
    {
        return appData + "/Corvalune";
    }
    if (const std::string dataHome = Environment("XDG_DATA_HOME"); !dataHome.empty())
    {
        return dataHome + "/Corvalune";
    }
    if (const std::string home = Environment("HOME"); !home.empty())
    {
        return home + "/.local/share/Corvalune";
    }
    return {};
}

void GlobalVariables::Load()
{
    bools.clear();
    floats.clear();
    strings.clear();
    version = ECS::NextStorageVersion();
    writable = false;
    const std::string folder = UserFolder();
    if (folder.empty())
    {
        userFile.clear();
        return;
    }
    userFile = folder + "/" + FILE_NAME;
    std::error_code error;
    std::filesystem::create_directories(NativePath(folder), error);

    // First run: the shipped defaults become the player's file. An unreadable default gives
    // an empty file.
    std::string defaults;
    ReadTextFile(DEFAULT_FILE, defaults);
    if (!std::filesystem::exists(NativePath(userFile), error))
    {
        Seed(defaults);
    }

    std::string text;
    if (!ReadTextFile(userFile, text))
    {
        // A save that exists but cannot be read must not be replaced by an empty one at exit.
        logger.Log("Error: Failed To read " + userFile);
        return;
    }
    writable = true;
    // The defaults first, so a global the game added after this save was made still exists
    // (its scripts would fail on every step otherwise); the player's values then win.
    std::size_t shippedLines = 0;
    for (const std::string& line : Lines(defaults))
    {
        shippedLines += ReadLine(line) ? 1 : 0;
    }
    std::size_t savedLines = 0;
    for (const std::string& line : Lines(text))
    {
        savedLines += ReadLine(line) ? 1 : 0;
    }

    // A save is unreadable when it holds more than white space yet not one line of it reads as
    // a global while the defaults have some: binary garbage, a block of zeros left by a crash,
    // another file saved over it. A few damaged lines among good ones do not make a save
    // unreadable; those lines are skipped above. Since no line of it was taken, the values
    // are already the defaults.
    if (savedLines > 0 || shippedLines == 0 || text.find_first_not_of(" \t\r\n") == std::string::npos)
    {
        return;
    }
    const std::string aside = SetAside(userFile);
    if (aside.empty())
    {
        // Left where it is, it must not be overwritten at exit either.
        writable = false;
        logger.Log("Error: Failed To read " + userFile +
                   ": no line holds a global and it cannot be moved aside; the "
                   "defaults are used and nothing will be saved");
        return;
    }
    logger.Log("Error: Failed To read " + userFile + ": no line holds a global; it is kept as " + aside +
               " and the defaults are used");
    Seed(defaults);
}

void GlobalVariables::Seed(const std::string& defaults) const
{
    std::string seeded;
    for (const std::string& line : Lines(defaults))
    {
        seeded += line + "\n";
    }
    if (!WriteAtomically(userFile, seeded))
    {
        logger.Log("Error: Failed To write " + userFile);
    }
}

bool GlobalVariables::ReadLine(const std::string& line)
{
    const std::size_t firstSpace = line.find(' ');
    if (firstSpace == std::string::npos)
    {
        return false;
    }
    const std::string type = line.substr(0, firstSpace);
    const std::size_t secondSpace = line.find(' ', firstSpace + 1);
    const std::string name = line.substr(
        firstSpace + 1, secondSpace == std::string::npos ? std::string::npos : secondSpace - firstSpace - 1);
    const std::string value = secondSpace == std::string::npos ? std::string() : line.substr(secondSpace + 1);

    if (type == "String")
    {
        strings[name] = value;
        return true;
    }
    const char* begin = value.c_str();
    char* end = nullptr;
    errno = 0;
    if (type == "Bool")
    {
        const long number = std::strtol(begin, &end, 10);
        if (end == begin || errno == ERANGE)
        {
            return false;
        }
        bools[name] = number != 0;
        return true;
    }
    if (type == "Float")
    {
        const float number = std::strtof(begin, &end);
        // The C library reports a range error for denormal results, yet such a value was
        // written by Text and reads back exactly; only overflow and underflow to zero are lost.
        const bool lost = errno == ERANGE && (std::isinf(number) || number == 0.0f);
        if (end == begin || lost)
        {
            return false;
        }
        floats[name] = number;
        return true;
    }
    return false;
}

std::string GlobalVariables::Text() const
{
    std::ostringstream text;
    for (const auto& [name, value] : bools)
    {
        text << "Bool " << name << " " << (value ? "1" : "0") << "\n";
    }
    // The shortest text that reads back to the same float: six significant digits would move
    // a best time a little on every save.
    for (const auto& [name, value] : floats)
    {
        char number[32];
        const std::to_chars_result written = std::to_chars(number, number + sizeof(number), value);
        text << "Float " << name << " " << std::string_view(number, written.ptr) << "\n";
    }
    for (const auto& [name, value] : strings)
    {
        text << "String " << name << " " << value << "\n";
    }
    return text.str();
}

bool GlobalVariables::Save() const
{
    if (userFile.empty() || !writable)
    {
        return false;
    }
    if (!WriteAtomically(userFile, Text()))
    {
        logger.Log("Error: Failed To write " + userFile);
        return false;
    }
    return true;
}

} // namespace Varn::Script
