#include "core/FilePath.h"

#include <algorithm>
#include <fstream>

namespace Varn
{

std::string NativePath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool ReadTextFile(const std::string& path, std::string& text)
{
    std::ifstream file(NativePath(path), std::ios::binary);
    if (!file)
    {
        return false;
    }
    // One read into a buffer of the file's size: copying through a string stream doubled the
    // cost of loading a large scene before its text was even parsed.
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0)
    {
        return false;
    }
    text.resize(static_cast<std::size_t>(size));
    file.read(text.data(), size);
    text.resize(static_cast<std::size_t>(file.gcount()));
    return true;
}

} // namespace Varn
