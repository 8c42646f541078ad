#pragma once
// Shared by the physics tests: a fixture that builds entities with a transform and any physics
// components, and steps the scene the way a frame does (physics, then transforms).
#include "support/EngineTest.h"

#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
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
    Physics::PhysicsSystem& Physics() { return *CurrentScene().physicsSystem; }

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
    static ECS::RigidBody& Body(ECS::IEntity* e) { return Get<ECS::RigidBody>(e); }
    static ECS::Transform& Xf(ECS::IEntity* e) { return Get<ECS::Transform>(e); }
};

} // namespace Varn::Test
