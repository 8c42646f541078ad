// Cost of one physics step (with the transform pass that follows it) over a pit of settling
// circles and boxes. Pairs are tested exhaustively, so the cost grows with the square of the
// body count. Run: build/bench/corvalune_bench --benchmark_filter=Physics
#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "physics/PhysicsSystem.h"
#include "scene/Engine.h"

#include <benchmark/benchmark.h>

namespace
{

void PhysicsStep(benchmark::State& state)
{
    using namespace Varn;
    Scene::Engine& engine = Scene::Engine::Instance();
    engine.scenes->SetCurrent(engine.NewScene());
    ECS::Scene& scene = *engine.scenes->current;
    auto make = [&](Vector4 at, Vector4 size)
    {
        ECS::IEntity* e = engine.entities->CreateEntity();
        auto* t = e->AddComponent<ECS::Transform>();
        t->position = at;
        t->scale = size;
        return e;
    };
    const int64_t count = state.range(0);
    const int64_t columns = 50;
    const float width = static_cast<float>(columns) * 40.0f;
    ECS::IEntity* floor = make({0, -40, 0, 0}, {width + 200, 40, 1, 0});
    floor->AddComponent<ECS::BoxCollider2D>();
    scene.AddEntity(floor);
    for (int64_t i = 0; i < count; ++i)
    {
        const Vector4 at{static_cast<float>(i % columns) * 40.0f - width / 2,
                         static_cast<float>(i / columns) * 40.0f, 0, 0};
        ECS::IEntity* e = make(at, {30, 30, 1, 0});
        auto* body = e->AddComponent<ECS::RigidBody>();
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
    }
    scene.transformSystem->UpdateAll();
    for (int i = 0; i < 60; ++i) // let the pile settle into resting contacts
    {
        scene.physicsSystem->Update(1.0f / 60.0f);
        scene.transformSystem->UpdateAll();
    }
    for (auto _ : state)
    {
        scene.physicsSystem->Update(1.0f / 60.0f);
        scene.transformSystem->UpdateAll();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * count);
    Scene::Engine::Shutdown();
}
BENCHMARK(PhysicsStep)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);

} // namespace
