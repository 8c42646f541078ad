#pragma once
// The tag names of the current scene. A scene file's "Tags:" line registers them in order and
// bit i of an entity's tag mask stands for the i-th name; "Default" is always first. Systems
// and scripts turn names into masks here, so no part of the engine reaches into the scene
// loader for a tag.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Varn::ECS
{

class TagRegistry
{
public:
    static constexpr std::size_t USABLE_TAGS = 32; // masks are handed out as 32-bit values

    // The name's mask, registering it if new; 0 once the usable tags are taken (the name is
    // still kept, so the same name is refused again without growing the list).
    uint64_t Register(const std::string& name);
    uint64_t Value(const std::string& name) const; // 0 for a name never registered
    std::vector<std::string> Names(uint64_t mask) const;
    void Clear() { names.clear(); }

private:
    std::vector<std::string> names; // bit i stands for names[i]
};

} // namespace Varn::ECS
