#pragma once
// The one running scene: the entities that belong to it (not owned; they live in the entity
// pool) and its eleven systems (owned), which the engine assembles with Add. Scene loads reuse
// the same object and replace its entities.
#include "core/PointerSet.h"
#include "core/Services.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Varn
{
class ISystem;
}
namespace Varn::ECS
{
class IEntity;
class TransformSystem;
} // namespace Varn::ECS
namespace Varn::Graphics
{
class ParticleSystem;
class CameraSystem;
class GraphicsSystem;
class AnimationSystem;
class UIGraphicsSystem;
class UITextSystem;
class UIButtonSystem;
} // namespace Varn::Graphics
namespace Varn::Physics
{
class PhysicsSystem;
}
namespace Varn::Script
{
class ScriptSystem;
}
namespace Varn::AI
{
class AISystem;
}

namespace Varn::ECS
{

class Scene
{
public:
    // An empty scene: no system, no entity. Its systems are lent `services`.
    explicit Scene(const Services& services);
    // Releases the main camera entity to the pool, then the systems in reverse order.
    ~Scene();

    // Builds a system of class T for this scene and appends it to the build order.
    template <typename T> T* Add()
    {
        T* system = new T(this, services);
        systems.push_back(system);
        return system;
    }
    // The "Main Camera" entity with a Transform and a Camera, once the systems are in place.
    void AddMainCamera();
    // Puts `replacement` where `old` stands in the build order and deletes `old`; tests stand
    // in recording systems this way.
    void ReplaceSystem(ISystem* old, ISystem* replacement);
    // Drops the entity list and the camera without touching them: at shutdown the entity pool
    // goes first and takes every entity with it.
    void ForgetEntities();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Appends the entity, unless it is listed, and brings it into the systems that work on its
    // components.
    void AddEntity(IEntity* entity);
    // Returns the entity (and with `recursive` its descendants first) to the pool; children
    // that stay are detached where they are on screen.
    void RemoveEntity(IEntity* entity, bool recursive);
    // Returns every entity to the pool, as RemoveEntity would one by one, in one pass: the
    // working sets are emptied at once and no one is detached from a parent that goes too.
    void RemoveAllEntities();
    // Keeps the entity's membership of the systems that work on components of class `changed`
    // in line with its components: it joins each that needs one it has and leaves each that
    // needs none. Called for each component on joining the scene and whenever one is added or
    // removed.
    void ComponentsChanged(IEntity* entity, uint32_t changed); // a ComponentTypeId

    std::vector<IEntity*> entities; // in the order they joined; changed only through the scene
    TransformSystem* transformSystem = nullptr;
    Physics::PhysicsSystem* physicsSystem = nullptr;
    Script::ScriptSystem* scriptSystem = nullptr;
    Graphics::ParticleSystem* particleSystem = nullptr;
    Graphics::CameraSystem* cameraSystem = nullptr;
    AI::AISystem* aiSystem = nullptr;
    Graphics::GraphicsSystem* graphicsSystem = nullptr;
    Graphics::AnimationSystem* animationSystem = nullptr;
    Graphics::UIGraphicsSystem* uiGraphicsSystem = nullptr;
    Graphics::UITextSystem* uiTextSystem = nullptr;
    Graphics::UIButtonSystem* uiButtonSystem = nullptr;
    bool playing = true;           // while true, script, AI and physics run in fixed steps
    std::string name;              // path of the last scene file loaded
    IEntity* mainCamera = nullptr; // may be null only while being torn down

private:
    const Services& services;
    std::vector<ISystem*> systems; // all of the above, in the order they were built
    PointerSet listed;             // the members of `entities`, found in constant time
};

} // namespace Varn::ECS
