#include "core/Logger.h"

#include <iostream>

namespace Varn
{

void Logger::Flush()
{
    for (const std::string& line : lines)
    {
        std::cout << line << std::endl;
    }
    lines.clear();
}

} // namespace Varn
