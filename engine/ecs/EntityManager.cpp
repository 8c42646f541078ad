#include "ecs/EntityManager.h"

namespace Varn::ECS
{

EntityManager::EntityManager(std::size_t initialPool)
{
    Grow(initialPool);
}

void EntityManager::Grow(std::size_t count)
{
    pool.reserve(pool.size() + count);
    for (std::size_t i = 0; i < count; ++i)
    {
        auto entity = std::make_unique<IEntity>();
        entity->pool = this;
        entity->poolIndex = pool.size();
        pool.push_back(std::move(entity));
    }
}

IEntity* EntityManager::CreateEntity(const std::string& name)
{
    IEntity* entity = nullptr;
    while (firstFree < pool.size() && !pool[firstFree]->components.empty())
    {
        ++firstFree;
    }
    if (firstFree < pool.size())
    {
        entity = pool[firstFree].get(); // stays free, and first, until it gets a component
    }
    if (entity == nullptr)
    {
        // Doubling keeps creation amortised; the first new slot is the next free one.
        const std::size_t oldSize = pool.size();
        Grow(oldSize == 0 ? 1 : oldSize);
        entity = pool[oldSize].get();
    }
    // A reused entity starts as a new one would: a room, layer or active flag left over from
    // its last life would silently change the new entity (a HUD made into a bullet's old slot
    // took its room and was skipped by every update).
    entity->name = name;
    entity->tags = 0;
    entity->id = nextId++;
    entity->currentParentId = 0;
    entity->room = 0;
    entity->layer = 0;
    entity->prefabOwner.clear();
    entity->gameObjectActive = true;
    entity->parent = nullptr;
    entity->scene = nullptr;
    return entity;
}

IEntity* EntityManager::CreateEntity()
{
    return CreateEntity("New Entity " + std::to_string(newEntityCounter++));
}

IEntity* EntityManager::FindByName(const std::vector<IEntity*>& list, const std::string& name)
{
    for (IEntity* entity : list)
    {
        if (entity->name == name)
        {
            return entity;
        }
    }
    return nullptr;
}

} // namespace Varn::ECS
