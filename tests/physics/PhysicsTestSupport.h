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

    // Puts bodies `a` and `b` overlapping again, `a` at the origin and at rest, `b` half a unit
    // to its right moving at `velocityB`, and steps: a contact pushed them apart last time.
    void OverlapAndStep(ECS::IEntity* a, ECS::IEntity* b, Vector4 velocityB = {})
    {
        Xf(a).position = {0, 0, 0, 0};
        Xf(b).position = {0.5f, 0, 0, 0};
        Body(a).velocity = {0, 0, 0, 0};
        Body(b).velocity = velocityB;
        CurrentScene().transformSystem->UpdateAll();
        Step();
    }

    template <typename T> static T& Get(ECS::IEntity* e) { return *e->GetComponent<T>(); }
    static ECS::RigidBody& Body(ECS::IEntity* e) { return Get<ECS::RigidBody>(e); }
    static ECS::Transform& Xf(ECS::IEntity* e) { return Get<ECS::Transform>(e); }
};

} // namespace Varn::Test
