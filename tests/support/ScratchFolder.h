#pragma once
// A temporary folder for files a test writes, removed with the object. With ENTER it is also
// the working directory while it lives, so content paths beginning with "Resources" (and the
// window's "gameConfig.ini") resolve inside it.
#include "core/FilePath.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace Varn::Test
{

class ScratchFolder
{
public:
    enum MODE
    {
        STAY,
        ENTER
    };

    explicit ScratchFolder(MODE mode = STAY)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvalune-test-XXXXXX").string();
        root = mkdtemp(pattern.data());
        if (mode == ENTER)
        {
            previous = std::filesystem::current_path();
            std::filesystem::current_path(root);
        }
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!previous.empty())
        {
            std::filesystem::current_path(previous, ignored);
        }
        std::filesystem::remove_all(root, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes `bytes` to `relative` (back slashes allowed, as content uses them); returns the
    // file's full path.
    std::string Write(const std::string& relative, const std::string& bytes) const
    {
        const std::filesystem::path file = root / NativePath(relative);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }
    // Links the repository's file or folder `relative` into this folder at the same place.
    void Link(const std::string& relative) const
    {
        std::filesystem::create_directories((root / relative).parent_path());
        std::filesystem::create_symlink(std::filesystem::path(CORVALUNE_SOURCE_DIR) / relative,
                                        root / relative);
    }
    void Remove(const std::string& relative) const { std::filesystem::remove(root / NativePath(relative)); }
    std::string Path(const std::string& relative) const { return (root / NativePath(relative)).string(); }

    std::filesystem::path root;

private:
    std::filesystem::path previous; // empty unless the folder was entered
};

} // namespace Varn::Test
