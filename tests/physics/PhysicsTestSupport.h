#pragma once
// Shared by the physics tests: a fixture that builds entities with a transform and any physics
// components, and steps the scene the way a frame does (physics, then transforms).
#include "support/EngineTest.h"

#include "core/Scene.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "physics/PhysicsSystem.h"

#include <string>

namespace Varn::Test
{

constexpr float STEP = 1.0f / 60.0f;

class PhysicsTest : public EngineTest
{
protected:
    // An entity at `position` whose physics size is `size` (its scale), in the scene, with the
    // components C... added before it joins.
    template <typename... C>
    ECS::IEntity* Make(const std::string& name, Math::Vector4 position, Math::Vector4 size = {1, 1, 1, 0})
    {
        ECS::IEntity* e = engine->entities->CreateEntity(name);
        auto* t = e->AddComponent<Component::Transform>();
        t->position = position;
        t->scale = size;
        (e->AddComponent<C>(), ...);
        CurrentScene().AddEntity(e);
        CurrentScene().transformSystem->UpdateAll();
        return e;
    }

    System::PhysicsSystem& Physics() { return *CurrentScene().physicsSystem; }

    // Steps as the frame does: physics moves, then transforms follow.
    void Step(int count = 1)
    {
        for (int i = 0; i < count; ++i)
        {
            Physics().Update(STEP);
            CurrentScene().transformSystem->UpdateAll();
        }
    }

    template <typename T> static T& Get(ECS::IEntity* e) { return *e->GetComponent<T>(); }
    static Component::RigidBody& Body(ECS::IEntity* e) { return Get<Component::RigidBody>(e); }
    static Component::Transform& Xf(ECS::IEntity* e) { return Get<Component::Transform>(e); }
};

} // namespace Varn::Test
