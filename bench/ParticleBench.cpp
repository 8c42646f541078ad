// Cost of particles per step and per frame: 50 emitters with 200 live particles each, as a busy
// scene might hold. Simulation is the ParticleSystem step (four slices per emitter); drawing is
// the whole graphics pass on an offscreen window, finished on the GPU, one instanced draw per
// emitter. Run: build/bench/corvalune_bench --benchmark_filter=Particle
#include "core/Window.h"
#include "ecs/EntityManager.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "graphics/CameraSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/ParticleSystem.h"
#include "resource/ResourceManager.h"
#include "scene/Engine.h"

#include <benchmark/benchmark.h>
#include <glbinding/gl33core/gl.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace
{

using namespace Varn;

constexpr int PARTICLES = 200;

// `emitters` emitters spread over the view, each pool full of long-lived particles fanning out.
ECS::Scene& BusyScene(int emitters)
{
    Scene::Engine& engine = Scene::Engine::Instance();
    engine.scenes->SetCurrent(engine.NewScene());
    ECS::Scene& scene = *engine.scenes->current;
    for (int i = 0; i < emitters; ++i)
    {
        ECS::IEntity* e = engine.entities->CreateEntity("Emitter");
        e->AddComponent<ECS::Transform>()->position = {static_cast<float>(i % 10) * 180.0f - 810.0f,
                                                       static_cast<float>(i / 10) * 200.0f - 400.0f, 0, 0};
        auto* emitter = e->AddComponent<ECS::ParticleEmitter>();
        emitter->count = PARTICLES;
        emitter->hasGravity = i % 2 == 0;
        emitter->rotateToDirection = i % 3 == 0;
        emitter->emissionTimer = 1e9f; // the pools stay as filled here
        emitter->particles.assign(PARTICLES, {});
        for (int p = 0; p < PARTICLES; ++p)
        {
            ECS::ParticleCell& cell = emitter->particles[static_cast<std::size_t>(p)].second;
            const float a = static_cast<float>(p) * 0.0314159f;
            cell.alive = true;
            cell.life = 1e9f;
            cell.speed = 5.0f;
            cell.direction = {std::cos(a), std::sin(a), 0, 0};
            cell.scale = {0.5f, 0.5f, 1, 0};
            cell.gravityScale = 1.0f;
            cell.hasGravity = emitter->hasGravity;
        }
        scene.AddEntity(e);
    }
    scene.transformSystem->Update(0.0f);
    return scene;
}

void ParticleSimulation(benchmark::State& state)
{
    ECS::Scene& scene = BusyScene(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        scene.particleSystem->Update(static_cast<float>(Scene::Engine::STEP));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * PARTICLES);
    Scene::Engine::Shutdown();
}
BENCHMARK(ParticleSimulation)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);

void ParticleDrawing(benchmark::State& state)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    std::filesystem::current_path(CORVALUNE_SOURCE_DIR); // the default textures and font
    Scene::Engine& engine = Scene::Engine::Instance();
    if (!engine.window->Create())
    {
        state.SkipWithError("no offscreen OpenGL context");
        Scene::Engine::Shutdown();
        return;
    }
    engine.scenes->SetCurrent(engine.NewScene());
    engine.resources->LoadDefaults();
    ECS::Scene& scene = BusyScene(static_cast<int>(state.range(0)));
    scene.particleSystem->Update(0.0f); // build the model matrices once
    scene.cameraSystem->Update(0.0f);
    for (auto _ : state)
    {
        scene.graphicsSystem->Update(0.0f);
        gl33core::glFinish();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * PARTICLES);
    Scene::Engine::Shutdown();
}
// 0 emitters: the cost of the frame itself (clears and composite) on the same window.
BENCHMARK(ParticleDrawing)->Arg(0)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace
