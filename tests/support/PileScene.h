#pragma once
// A walled pit filled with a deep pile: N bodies, half circles and half boxes, stacked in a
// column twenty bodies wide over a floor 100 units thick. The physics tests drop it to check
// that no body is pushed through the floor or a wall; the physics benchmark times its steps.
#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "scene/Engine.h"

#include <cmath>
#include <vector>

namespace Varn::Test
{

struct PileScene
{
    static constexpr int COLUMNS = 20;
    static constexpr float CELL = 24.0f;                       // spacing of the starting grid
    static constexpr float SIZE = 20.0f;                       // circle diameter and box side
    static constexpr float HALF_WIDTH = COLUMNS * CELL / 2.0f; // inside of the pit
    static constexpr float WALL = 100.0f;                      // floor and wall thickness
    static constexpr float FALL = 1.0f; // gravity scale: a pile settles within 600 steps

    std::vector<ECS::IEntity*> bodies;

    // Fills the current scene of `engine` with the pit and `count` bodies.
    PileScene(Scene::Engine& engine, int count)
    {
        ECS::Scene& scene = *engine.scenes->current;
        const float height = static_cast<float>(count / COLUMNS + 2) * CELL + 2.0f * WALL;
        auto make = [&](Vector4 at, Vector4 size)
        {
            ECS::IEntity* e = engine.entities->CreateEntity();
            auto* t = e->AddComponent<ECS::Transform>();
            t->position = at;
            t->scale = size;
            return e;
        };
        auto wall = [&](Vector4 at, Vector4 size)
        {
            ECS::IEntity* e = make(at, size);
            e->AddComponent<ECS::BoxCollider2D>();
            scene.AddEntity(e);
        };
        wall({0, -WALL / 2, 0, 0}, {2 * (HALF_WIDTH + WALL), WALL, 1, 0});
        wall({-HALF_WIDTH - WALL / 2, height / 2, 0, 0}, {WALL, height, 1, 0});
        wall({HALF_WIDTH + WALL / 2, height / 2, 0, 0}, {WALL, height, 1, 0});
        for (int i = 0; i < count; ++i)
        {
            const Vector4 at{-HALF_WIDTH + CELL / 2 + static_cast<float>(i % COLUMNS) * CELL,
                             CELL / 2 + static_cast<float>(i / COLUMNS) * CELL, 0, 0};
            ECS::IEntity* e = make(at, {SIZE, SIZE, 1, 0});
            auto* body = e->AddComponent<ECS::RigidBody>();
            body->gravityScale = FALL;
            body->velocity = {static_cast<float>(i % 7) * 10.0f - 30.0f, 0, 0, 0};
            if (i % 2 == 0)
            {
                e->AddComponent<ECS::CircleCollider2D>();
            }
            else
            {
                e->AddComponent<ECS::BoxCollider2D>();
            }
            scene.AddEntity(e);
            bodies.push_back(e);
        }
        scene.transformSystem->UpdateAll();
    }

    // Bodies whose centre has left the pit or sunk more than half a body into its floor or a
    // wall (past that, the contact pushes it on out), or is lost to NaN.
    int Escaped() const
    {
        int escaped = 0;
        for (const ECS::IEntity* e : bodies)
        {
            const Vector4& p = e->GetComponent<ECS::Transform>()->position;
            const bool inside = std::isfinite(p.x) && std::isfinite(p.y) && p.y > -SIZE / 2 &&
                                std::fabs(p.x) < HALF_WIDTH + SIZE / 2;
            escaped += inside ? 0 : 1;
        }
        return escaped;
    }
};

} // namespace Varn::Test
