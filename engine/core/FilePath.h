#pragma once
// Content names files with back slashes ("Resources\Sprites\basicSprite.dds"). Registries keep
// those names as written; every place that opens a file converts through here first.
#include <cstddef>
#include <memory>
#include <string>

namespace Varn
{

std::string NativePath(std::string path);                      // back slashes become forward slashes
bool ReadTextFile(const std::string& path, std::string& text); // false when unreadable
// The whole file in a buffer of `size` bytes and a NUL, which is not cleared first: for a large
// scene that was a whole extra pass over memory. False when unreadable.
bool ReadFileBytes(const std::string& path, std::unique_ptr<char[]>& bytes, std::size_t& size);

} // namespace Varn
