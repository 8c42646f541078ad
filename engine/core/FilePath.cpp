#include "core/FilePath.h"

#include <algorithm>
#include <fstream>
#include <sstream>

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
    std::ostringstream buffer;
    buffer << file.rdbuf();
    text = buffer.str();
    return true;
}

} // namespace Varn
