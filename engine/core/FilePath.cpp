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

namespace
{
// Opens `path` for reading and says how many bytes it holds, or -1 when it cannot be read.
std::streamoff OpenSized(const std::string& path, std::ifstream& file)
{
    file.open(NativePath(path), std::ios::binary);
    if (!file)
    {
        return -1;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    return size;
}
} // namespace

bool ReadTextFile(const std::string& path, std::string& text)
{
    // One read into a buffer of the file's size: copying through a string stream doubled the
    // cost of loading a large scene before its text was even parsed.
    std::ifstream file;
    const std::streamoff size = OpenSized(path, file);
    if (size < 0)
    {
        return false;
    }
    text.resize(static_cast<std::size_t>(size));
    file.read(text.data(), size);
    text.resize(static_cast<std::size_t>(file.gcount()));
    return true;
}

bool ReadFileBytes(const std::string& path, std::unique_ptr<char[]>& bytes, std::size_t& size)
{
    std::ifstream file;
    const std::streamoff length = OpenSized(path, file);
    if (length < 0)
    {
        return false;
    }
    bytes.reset(new char[static_cast<std::size_t>(length) + 1]);
    file.read(bytes.get(), length);
    size = static_cast<std::size_t>(file.gcount());
    bytes[size] = '\0';
    return true;
}

} // namespace Varn
