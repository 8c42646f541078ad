#pragma once
// A temporary folder for files a test writes; removed with the object.
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace Varn::Test
{

class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvalune-test-XXXXXX").string();
        folder = mkdtemp(pattern.data());
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes `text` to `name` inside the folder and returns the file's path.
    std::string Write(const std::string& name, const std::string& text) const
    {
        const std::filesystem::path path = folder / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    const std::filesystem::path& Folder() const { return folder; }

private:
    std::filesystem::path folder;
};

} // namespace Varn::Test
