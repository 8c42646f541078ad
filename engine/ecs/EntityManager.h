#pragma once
// Owns every entity for the life of the process. Entities are handed out by CreateEntity and
// come back when their components are removed; the pool only grows.
#include "ecs/IEntity.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Varn::ECS
{

class EntityManager
{
public:
    static constexpr std::size_t INITIAL_POOL = 4000;

    explicit EntityManager(std::size_t initialPool = INITIAL_POOL);

    void Grow(std::size_t count);
    // The first free entity (one without components) in pool order, renamed, given a fresh id
    // and reset. Doubles the pool when none is free.
    IEntity* CreateEntity(const std::string& name);
    // "New Entity 0", "New Entity 1", ...
    IEntity* CreateEntity();

    // The first entity in the list whose name is exactly `name`, or null.
    static IEntity* FindByName(const std::vector<IEntity*>& list, const std::string& name);

    std::size_t PoolSize() const { return pool.size(); }
    IEntity* PoolEntity(std::size_t index) const { return pool[index].get(); }

    uint32_t newEntityCounter = 0;
    uint32_t nextId = 0;

private:
    friend class IEntity;
    void Freed(std::size_t index) { firstFree = std::min(firstFree, index); }

    std::vector<std::unique_ptr<IEntity>> pool;
    // Every entity before this index has components: the search for a free one starts here,
    // so creating a scene's entities one after another does not rescan the pool each time.
    std::size_t firstFree = 0;
};

} // namespace Varn::ECS
