#include "core/Scene.h"

#include "ai/AISystem.h"
#include "core/Engine.h"
#include "ecs/Camera.h"
#include "ecs/EntityManager.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "graphics/AnimationSystem.h"
#include "graphics/CameraSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/ParticleSystem.h"
#include "graphics/UIButtonSystem.h"
#include "graphics/UIGraphicsSystem.h"
#include "graphics/UITextSystem.h"
#include "physics/PhysicsSystem.h"
#include "script/ScriptSystem.h"

#include <algorithm>

namespace Varn
{

Scene::Scene(const Services& services)
{
    transformSystem = new System::TransformSystem(this, services);
    physicsSystem = new System::PhysicsSystem(this, services);
    scriptSystem = new System::ScriptSystem(this, services);
    particleSystem = new System::ParticleSystem(this, services);
    cameraSystem = new System::CameraSystem(this, services);
    aiSystem = new System::AISystem(this, services);
    graphicsSystem = new System::GraphicsSystem(this, services);
    animationSystem = new System::AnimationSystem(this, services);
    uiGraphicsSystem = new UISystem::UIGraphicsSystem(this, services);
    uiTextSystem = new UISystem::UITextSystem(this, services);
    uiButtonSystem = new UISystem::UIButtonSystem(this, services);
    systems = {transformSystem, physicsSystem,   scriptSystem,     particleSystem, cameraSystem,  aiSystem,
               graphicsSystem,  animationSystem, uiGraphicsSystem, uiTextSystem,   uiButtonSystem};

    mainCamera = services.entities.CreateEntity("Main Camera");
    mainCamera->AddComponent<Component::Transform>();
    mainCamera->AddComponent<Component::Camera>();
    AddEntity(mainCamera);
}

Scene::~Scene()
{
    // At shutdown the entity pool goes first and takes every entity with it.
    const bool poolAlive = Engine::Instance().entities != nullptr;

    // The camera entity goes back to the pool unless a load already released it.
    if (poolAlive && mainCamera != nullptr &&
        std::find(entities.begin(), entities.end(), mainCamera) != entities.end())
    {
        mainCamera->DetachChildren();
        mainCamera->RemoveAllComponents();
        mainCamera->parent = nullptr;
        entities.erase(std::find(entities.begin(), entities.end(), mainCamera));
    }
    systems.clear();
    delete uiButtonSystem;
    delete uiTextSystem;
    delete uiGraphicsSystem;
    delete animationSystem;
    delete graphicsSystem;
    delete aiSystem;
    delete cameraSystem;
    delete particleSystem;
    delete scriptSystem;
    delete physicsSystem;
    delete transformSystem;
    // Entities still listed are left in the pool; they must not reach back into dead systems.
    for (ECS::IEntity* entity : poolAlive ? entities : std::vector<ECS::IEntity*>{})
    {
        if (entity->scene == this)
        {
            entity->scene = nullptr;
        }
    }
}

void Scene::AddEntity(ECS::IEntity* entity)
{
    entity->scene = this;
    if (std::find(entities.begin(), entities.end(), entity) != entities.end())
    {
        return;
    }
    for (const auto& component : entity->components)
    {
        ComponentsChanged(entity, typeid(*component));
    }
    entities.push_back(entity);
}

void Scene::ComponentsChanged(ECS::IEntity* entity, std::type_index changed)
{
    for (System::ISystem* system : systems)
    {
        const std::vector<std::type_index>& needs = system->Needs();
        if (std::find(needs.begin(), needs.end(), changed) == needs.end())
        {
            continue;
        }
        const bool needed =
            std::any_of(needs.begin(), needs.end(),
                        [entity](std::type_index type) { return entity->FindComponent(type) != nullptr; });
        // Both keep a set as it is when there is nothing to do; adding to a member is how a
        // system hears that the member's components changed.
        if (needed)
        {
            system->AddEntity(entity);
        }
        else
        {
            system->RemoveEntity(entity);
        }
    }
}

void Scene::RemoveEntity(ECS::IEntity* entity, bool recursive)
{
    if (recursive)
    {
        for (ECS::IEntity* descendant : entity->GetDescendants())
        {
            RemoveEntity(descendant, false);
        }
    }
    entity->DetachChildren();
    entity->RemoveAllComponents();
    entity->parent = nullptr;
    auto found = std::find(entities.begin(), entities.end(), entity);
    if (found != entities.end())
    {
        entities.erase(found);
    }
}

} // namespace Varn
