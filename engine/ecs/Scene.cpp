#include "ecs/Scene.h"

#include "core/ISystem.h"
#include "ecs/Camera.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Transform.h"

#include <algorithm>

namespace Varn::ECS
{

Scene::Scene(const Services& services_) : services(services_)
{
}

void Scene::AddMainCamera()
{
    mainCamera = services.entities.CreateEntity("Main Camera");
    mainCamera->AddComponent<Transform>();
    mainCamera->AddComponent<Camera>()->UseDefaults(services);
    AddEntity(mainCamera);
}

void Scene::ReplaceSystem(ISystem* old, ISystem* replacement)
{
    std::replace(systems.begin(), systems.end(), old, replacement);
    delete old;
}

Scene::~Scene()
{
    // The camera entity goes back to the pool unless a load already released it. (At shutdown
    // the engine empties the list first: the pool goes before the scenes, with every entity.)
    if (mainCamera != nullptr && listed.contains(mainCamera))
    {
        mainCamera->DetachChildren();
        mainCamera->RemoveAllComponents();
        mainCamera->parent = nullptr;
        entities.erase(std::find(entities.begin(), entities.end(), mainCamera));
        listed.erase(mainCamera);
    }
    // The last built goes first: a system may use those built before it.
    while (!systems.empty())
    {
        delete systems.back();
        systems.pop_back();
    }
    // Entities still listed are left in the pool; they must not reach back into dead systems.
    for (IEntity* entity : entities)
    {
        if (entity->scene == this)
        {
            entity->scene = nullptr;
        }
    }
}

void Scene::ForgetEntities()
{
    entities.clear();
    listed.clear();
    mainCamera = nullptr;
}

namespace
{
// Whether the entity has one of the components the system needs.
bool Wants(const ISystem& system, const IEntity& entity)
{
    const std::vector<uint32_t>& needs = system.Needs();
    return std::any_of(needs.begin(), needs.end(),
                       [&entity](uint32_t type) { return entity.HasComponent(type); });
}
} // namespace

void Scene::AddEntity(IEntity* entity)
{
    entity->scene = this;
    if (!listed.insert(entity))
    {
        return;
    }
    // Each system that needs one of the entity's components takes it, once.
    for (ISystem* system : systems)
    {
        if (Wants(*system, *entity))
        {
            system->AddEntity(entity);
        }
    }
    entities.push_back(entity);
}

void Scene::ComponentsChanged(IEntity* entity, uint32_t changed)
{
    for (ISystem* system : systems)
    {
        const std::vector<uint32_t>& needs = system->Needs();
        if (std::find(needs.begin(), needs.end(), changed) == needs.end())
        {
            continue;
        }
        // Both keep a set as it is when there is nothing to do; adding to a member is how a
        // system hears that the member's components changed.
        if (Wants(*system, *entity))
        {
            system->AddEntity(entity);
        }
        else
        {
            system->RemoveEntity(entity);
        }
    }
}

void Scene::RemoveAllEntities()
{
    for (ISystem* system : systems)
    {
        system->RemoveAllEntities();
    }
    for (IEntity* entity : entities)
    {
        entity->scene = nullptr; // nothing left to tell
        entity->RemoveAllComponents();
        entity->parent = nullptr;
    }
    entities.clear();
    listed.clear();
}

void Scene::RemoveEntity(IEntity* entity, bool recursive)
{
    if (recursive)
    {
        for (IEntity* descendant : entity->GetDescendants())
        {
            RemoveEntity(descendant, false);
        }
    }
    entity->DetachChildren();
    entity->RemoveAllComponents();
    entity->parent = nullptr;
    if (listed.erase(entity) != 0)
    {
        entities.erase(std::find(entities.begin(), entities.end(), entity));
    }
}

} // namespace Varn::ECS
