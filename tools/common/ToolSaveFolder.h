#pragma once
// The save folder of a tool's run: the one given, or a fresh temporary folder removed again at
// the end, so that no tool ever writes the player's own save. While it lives, the engine's
// save folder (CORVALUNE_SAVE_DIR) is it; build it before the engine.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace Varn::Tools
{

class ToolSaveFolder
{
public:
    // `given` empty: a temporary folder. `ok` is false when none could be made.
    explicit ToolSaveFolder(const std::string& given) : path(given), temporary(given.empty())
    {
        if (temporary)
        {
            path = (std::filesystem::temp_directory_path() / "corvalune-tool-XXXXXX").string();
            ok = mkdtemp(path.data()) != nullptr;
        }
        else
        {
            std::error_code ignored;
            std::filesystem::create_directories(path, ignored);
            ok = std::filesystem::is_directory(path, ignored);
        }
        if (ok)
        {
            setenv("CORVALUNE_SAVE_DIR", path.c_str(), 1);
        }
    }
    ~ToolSaveFolder()
    {
        std::error_code ignored;
        if (temporary && ok)
        {
            std::filesystem::remove_all(path, ignored);
        }
    }
    ToolSaveFolder(const ToolSaveFolder&) = delete;
    ToolSaveFolder& operator=(const ToolSaveFolder&) = delete;

    std::string path;
    bool ok = false;

private:
    bool temporary;
};

} // namespace Varn::Tools
