// Loading a generated scene of N entities (Transform, Sprite Renderer, Box Collider; one
// texture), against a bare RapidJSON parse of the same text: what reading and registering
// entities costs over reading the file. Headless, so textures are decoded but not uploaded.
//   build/bench/corvalune_bench --benchmark_filter=Scene
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "scene/Engine.h"
#include "scene/JSONManager.h"

#include <benchmark/benchmark.h>
#include <rapidjson/document.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace
{

using namespace Varn;

std::string GeneratedScene(int64_t count)
{
    std::string text = R"([{"ID":"Main Camera","ID Type":0,"Transform":{},"Camera":{}})";
    for (int64_t i = 0; i < count; ++i)
    {
        const std::string x = std::to_string(static_cast<float>(i % 100) * 40.0f - 2000.0f);
        const std::string y = std::to_string(static_cast<float>(i / 100) * 40.0f - 1000.0f);
        text += R"(,{"ID":"Block )" + std::to_string(i) + R"(","ID Type":0,"Layer":1,)" +
                R"("Transform":{"Position":{"X":)" + x + R"(,"Y":)" + y +
                R"(,"Z":0.0,"W":0.0},"Scale":{"X":1.0,"Y":1.0,"Z":1.0,"W":0.0}},)" +
                R"("Sprite Renderer":{"Texture":"Resources\\Sprites\\basicSprite.dds","Tint":)" +
                R"({"R":1.0,"G":1.0,"B":1.0,"A":1.0},"Opacity":1.0},)" +
                R"("Box Collider":{"Enabled":true,"Scale X":1.0,"Scale Y":1.0}})";
    }
    return text + "]";
}

std::filesystem::path WriteScene(int64_t count, std::string& text)
{
    text = GeneratedScene(count);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("corvalune-bench-" + std::to_string(count) + ".scene");
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

void SceneLoad(benchmark::State& state)
{
    std::filesystem::current_path(CORVALUNE_SOURCE_DIR); // the texture
    std::string text;
    const std::filesystem::path path = WriteScene(state.range(0), text);
    Scene::Engine& engine = Scene::Engine::Instance();
    engine.scenes->SetCurrent(engine.NewScene());
    for (auto _ : state)
    {
        engine.jsonManager->LoadScene(path.string(), false);
    }
    if (engine.scenes->current->entities.size() != static_cast<std::size_t>(state.range(0)) + 1)
    {
        state.SkipWithError("the scene did not load whole");
    }
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
    Scene::Engine::Shutdown();
}
BENCHMARK(SceneLoad)->Arg(1250)->Arg(2500)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

void SceneParse(benchmark::State& state)
{
    std::string text;
    WriteScene(state.range(0), text);
    for (auto _ : state)
    {
        rapidjson::Document document;
        document.Parse(text.c_str());
        benchmark::DoNotOptimize(document.IsArray());
    }
}
BENCHMARK(SceneParse)->Arg(1250)->Arg(2500)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
