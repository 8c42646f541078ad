#pragma once
// Content names files with back slashes ("Resources\Sprites\basicSprite.dds"). Registries keep
// those names as written; every place that opens a file converts through here first.
#include <string>

namespace Varn
{

std::string NativePath(std::string path);                      // back slashes become forward slashes
bool ReadTextFile(const std::string& path, std::string& text); // false when unreadable

} // namespace Varn
