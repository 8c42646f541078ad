// Cost of the per-step transform pass over a typical scene size, with shallow hierarchies as
// the content keeps them. Run: build/bench/corvalune_bench --benchmark_filter=Transform
#include "ecs/EntityManager.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "scene/Engine.h"

#include <benchmark/benchmark.h>

namespace
{

void TransformUpdate(benchmark::State& state)
{
    using namespace Varn;
    Scene::Engine& engine = Scene::Engine::Instance();
    engine.scenes->SetCurrent(engine.NewScene());
    ECS::Scene& scene = *engine.scenes->current;
    ECS::IEntity* parent = nullptr;
    for (int64_t i = 0; i < state.range(0); ++i)
    {
        ECS::IEntity* e = engine.entities->CreateEntity();
        auto* t = e->AddComponent<ECS::Transform>();
        t->position = {static_cast<float>(i), 0, 0, 0};
        t->angle = {0, 0, static_cast<float>(i % 360), 0};
        e->parent = i % 4 == 0 ? nullptr : parent; // chains of four
        parent = e;
        scene.AddEntity(e);
    }
    for (auto _ : state)
    {
        scene.transformSystem->Update(0.0f);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    Scene::Engine::Shutdown();
}
BENCHMARK(TransformUpdate)->Arg(500)->Arg(4000)->Unit(benchmark::kMicrosecond);

} // namespace
