// Cost of one script step: 50 to 8000 entities each running a ten-statement event (arithmetic,
// comparisons, an else-chain and local-variable writes). Run:
// build/bench/corvalune_bench --benchmark_filter=Script. Against Lua 5.4: bench/peers/script.py
#include "ecs/EntityManager.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/ScriptComponent.h"
#include "ecs/Transform.h"
#include "resource/ResourceManager.h"
#include "scene/Engine.h"
#include "script/ScriptSystem.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace
{

using namespace Varn;

// Ten statements run per pass: three conditions that decide the else-chains, five float
// writes and two more comparisons.
constexpr const char* EVENT = "float x\nfloat v\nfloat t\nfloat hp\nbool alive\nfloat speed\nfloat side\n"
                              "[Event] True\n"
                              "[Condition]\nCheckFloat #l_x > 100\n[Action]\nSetFloat #l_x 0\n"
                              "[Else]\nCheckFloat #l_x < -100\n[Action]\nSetFloat #l_x 0\n"
                              "[Else]\n[Action]\n"
                              "FloatOp #l_x + #l_v #l_x\n"
                              "FloatOp #l_v * 0.999 #l_v\n"
                              "FloatOp #l_t + #time_delta #l_t\n"
                              "[Condition]\nCheckFloat #l_hp <= 0\nCheckBool #l_alive true\n"
                              "[Action]\nSetBool #l_alive false\n"
                              "[Else]\n[Action]\n"
                              "FloatOp #l_hp - 0.001 #l_hp\n"
                              "SetFloat #l_speed #l_v\n"
                              "[Condition]\nCheckFloat #self_trans_pos_x >= 0\n[Action]\nSetFloat #l_side 1\n"
                              "[End]\n";

// Arithmetic arrives with the next family of actions; until then the benchmark brings its own,
// registered through the same table.
void FloatOp(ECS::IEntity* entity, const Script::Params& params, Script::ORINCompiler& compiler,
             std::size_t hit)
{
    const float& a = compiler.references.Float(entity, params[0], 0, false, hit);
    const float& b = compiler.references.Float(entity, params[2], 2, false, hit);
    float& destination = compiler.references.Float(entity, params[3], 3, false, hit);
    const std::string& op = params[1].text;
    destination = op == "+" ? a + b : op == "-" ? a - b : op == "*" ? a * b : a / b;
}

void ScriptStep(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "corvalune-script-bench";
    std::filesystem::create_directories(folder);
    setenv("XDG_DATA_HOME", folder.c_str(), 1); // keep the bench away from the player's save
    unsetenv("APPDATA");
    const std::string path = (folder / "bench.orin").string();
    std::ofstream(path) << EVENT;

    Scene::Engine& engine = Scene::Engine::Instance();
    engine.scenes->SetCurrent(engine.NewScene());
    ECS::Scene& scene = *engine.scenes->current;
    Script::ScriptSystem& scripts = *scene.scriptSystem;
    scripts.compiler.actionTable["FloatOp"] = {&FloatOp, Script::Takes({4})};
    Resource::Script* script = engine.resources->LoadScript(path);
    for (int64_t i = 0; i < state.range(0); ++i)
    {
        ECS::IEntity* e = engine.entities->CreateEntity();
        e->AddComponent<ECS::Transform>()->worldMatrix.m[0][3] = static_cast<float>(i % 7) - 3.0f;
        auto* component = e->AddComponent<ECS::ScriptComponent>();
        component->filePath.push_back(script);
        component->floatList["v"] = static_cast<float>(i % 13) * 0.1f;
        component->floatList["hp"] = 1000.0f;
        component->boolList["alive"] = true;
        scene.AddEntity(e);
        scripts.CompileEntity(e);
    }
    scripts.Update(1.0f / 60.0f); // the first pass only looks for Initialize events
    for (auto _ : state)
    {
        scripts.Update(1.0f / 60.0f);
        benchmark::ClobberMemory();
    }
    if (!engine.logger.Lines().empty())
    {
        state.SkipWithError(engine.logger.Lines().front().c_str());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 10);
    Scene::Engine::Shutdown();
    std::filesystem::remove_all(folder);
}
BENCHMARK(ScriptStep)->Arg(50)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMicrosecond);

} // namespace
