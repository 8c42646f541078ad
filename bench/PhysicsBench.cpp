// The deep pile: N bodies, half circles and half boxes, dropped into a walled pit twenty bodies
// wide and stepped 600 times, the physics step followed by the transform pass as in a frame.
// Each iteration times the 600 steps from the drop; the counters give the cost of one step
// and how many bodies left the pit (there should be none).
// Run: build/bench/corvalune_bench --benchmark_filter=PhysicsPile
// Against Box2D: bench/peers/pile.py
#include "support/PileScene.h"

#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/TransformSystem.h"
#include "physics/PhysicsSystem.h"
#include "scene/Engine.h"

#include <benchmark/benchmark.h>

namespace
{

constexpr int STEPS = 600;

void PhysicsPile(benchmark::State& state)
{
    using namespace Varn;
    const int count = static_cast<int>(state.range(0));
    int escaped = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        Scene::Engine& engine = Scene::Engine::Instance();
        engine.scenes->SetCurrent(engine.NewScene());
        ECS::Scene& scene = *engine.scenes->current;
        const Test::PileScene pile(engine, count);
        state.ResumeTiming();
        for (int i = 0; i < STEPS; ++i)
        {
            scene.physicsSystem->Update(1.0f / 60.0f);
            scene.transformSystem->UpdateAll();
        }
        benchmark::ClobberMemory();
        state.PauseTiming();
        escaped = pile.Escaped();
        Scene::Engine::Shutdown();
        state.ResumeTiming();
    }
    state.counters["per_step"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * STEPS,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["escaped"] = escaped;
}
BENCHMARK(PhysicsPile)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace
