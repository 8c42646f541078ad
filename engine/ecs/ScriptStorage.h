#pragma once
// The pieces of an entity's script state that its ScriptComponent keeps for the compiled
// program: the versions of variable stores and the per-reference caches into them.
#include <cstdint>

namespace Varn::ECS
{

// A number never handed out before: the version of a variable store (a component's variable
// maps, the global maps). A store takes a fresh one whenever its variables may have moved.
inline uint64_t NextStorageVersion()
{
    static uint64_t next = 0;
    return ++next;
}

// The address a variable reference found last time, valid while its store keeps the version.
// Components keep one per variable reference of their program (ValueReference::cacheIndex).
struct StorageCache
{
    const void* owner = nullptr; // the store: a ScriptComponent or the global variables
    uint64_t version = 0;
    void* value = nullptr;
};

} // namespace Varn::ECS
