// N moving sprites, 64 x 64 pixels each on a 1280 x 720 window, four textures in two layers,
// each texture's sprites one after another (as a game's tiles and enemies come). One iteration
// is one frame: move, transforms, camera, the graphics pass, swap and finish. The benchmark's
// time is the frame's wall time; `submit_us` is the main thread's CPU time in the graphics pass
// (collection, recording, OpenGL calls) and `submit_ns_per_sprite` the same per sprite.
// Offscreen unless SDL_VIDEODRIVER says otherwise: bench/peers/sprites.py runs it in an X
// window next to the same scene in LOVE.
//   build/bench/corvalune_bench --benchmark_filter=SpriteFrame
#include "core/Window.h"
#include "ecs/EntityManager.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "graphics/CameraSystem.h"
#include "graphics/GraphicsSystem.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "scene/Engine.h"

#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <glbinding/gl33core/gl.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace
{

using namespace Varn;

constexpr const char* TEXTURES[4] = {
    "Resources\\Sprites\\Tiles\\crate.png", "Resources\\Sprites\\Items\\heart.png",
    "Resources\\Sprites\\Items\\armour.png", "Resources\\Sprites\\Tiles\\spikes.png"};
constexpr float PIXEL = 1920.0f / 1280.0f; // world units per window pixel
constexpr float STEP = 1.0f / 60.0f;

struct Mover
{
    ECS::Transform* transform;
    float vx, vy; // world units per second
};

double ThreadCpuMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// A 1280 x 720 window from a config folder of the benchmark's own.
bool OpenWindow(Scene::Engine& engine)
{
    const std::filesystem::path config = std::filesystem::temp_directory_path() / "corvalune-sprite-bench";
    std::filesystem::create_directories(config / "Corvalune");
    std::ofstream(config / "Corvalune" / "gameConfig.ini")
        << "[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=1280\nWindowed_Height=720\n";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    std::filesystem::current_path(CORVALUNE_SOURCE_DIR);
    if (!engine.window->Create())
    {
        return false;
    }
    SDL_GL_SetSwapInterval(0);
    engine.scenes->SetCurrent(engine.NewScene());
    engine.resources->LoadDefaults();
    engine.window->clearColour = {0.1f, 0.1f, 0.15f, 1};
    return true;
}

std::vector<Mover> Sprites(Scene::Engine& engine, int count)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> x(-900.0f, 900.0f), y(-500.0f, 500.0f), v(-300.0f, 300.0f);
    std::vector<Mover> movers;
    for (int i = 0; i < count; ++i)
    {
        const int kind = i * 4 / count; // a quarter of the sprites per texture, in blocks
        ECS::IEntity* e = engine.entities->CreateEntity("Sprite");
        ECS::Transform* t = e->AddComponent<ECS::Transform>();
        auto* sprite = e->AddComponent<ECS::SpriteRenderer>();
        sprite->UseDefaults(engine.services);
        sprite->texture = engine.resources->LoadTexture(TEXTURES[kind]);
        const float size = 64.0f * PIXEL / static_cast<float>(sprite->texture->width);
        t->position = {x(random), y(random), 0, 0};
        t->scale = {size, size, 1, 0};
        e->layer = kind < 2 ? 0u : 1u;
        engine.scenes->current->AddEntity(e);
        movers.push_back({t, v(random), v(random)});
    }
    return movers;
}

void Move(std::vector<Mover>& movers)
{
    for (Mover& m : movers)
    {
        Vector4& p = m.transform->position;
        p.x += m.vx * STEP;
        p.y += m.vy * STEP;
        if (p.x < -960.0f || p.x > 960.0f)
        {
            m.vx = -m.vx;
        }
        if (p.y < -540.0f || p.y > 540.0f)
        {
            m.vy = -m.vy;
        }
    }
}

void SpriteFrame(benchmark::State& state)
{
    Scene::Engine& engine = Scene::Engine::Instance();
    if (!OpenWindow(engine))
    {
        state.SkipWithError("no OpenGL window");
        Scene::Engine::Shutdown();
        return;
    }
    std::vector<Mover> movers = Sprites(engine, static_cast<int>(state.range(0)));
    ECS::Scene& scene = *engine.scenes->current;
    const auto frame = [&]()
    {
        Move(movers);
        scene.transformSystem->UpdateAll();
        scene.cameraSystem->Update(0.0f);
        engine.window->ApplyClearColour();
        const double start = ThreadCpuMicroseconds();
        scene.graphicsSystem->Update(0.0f);
        const double spent = ThreadCpuMicroseconds() - start;
        engine.window->SwapBuffers();
        gl33core::glFinish();
        return spent;
    };
    frame(); // the driver compiles the programs and makes the buffers at the first draw
    frame();
    double submit = 0.0;
    for (auto _ : state)
    {
        submit += frame();
    }
    state.counters["submit_us"] = benchmark::Counter(submit, benchmark::Counter::kAvgIterations);
    state.counters["submit_ns_per_sprite"] = benchmark::Counter(
        submit * 1000.0 / static_cast<double>(state.range(0)), benchmark::Counter::kAvgIterations);
    Scene::Engine::Shutdown();
}
BENCHMARK(SpriteFrame)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
