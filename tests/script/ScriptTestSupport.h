#pragma once
// A fixture for ORIN tests: entities whose scripts are written into a scratch folder, the
// scene's script system, and the log lines the scripts produced.
#include "support/EngineTest.h"
#include "support/ScratchFolder.h"

#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/ScriptComponent.h"
#include "ecs/Transform.h"
#include "resource/ResourceManager.h"
#include "script/ScriptSystem.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace Varn::Test
{

using Strings = std::vector<std::string>;

class ScriptTest : public EngineTest
{
protected:
    // An entity with a Transform and a ScriptComponent running `scripts` (one file each), in
    // the current scene but not compiled yet.
    ECS::IEntity* Scripted(const std::string& name, const std::vector<std::string>& scripts)
    {
        ECS::IEntity* entity = engine->entities->CreateEntity(name);
        entity->AddComponent<ECS::Transform>();
        auto* script = entity->AddComponent<ECS::ScriptComponent>();
        for (const std::string& text : scripts)
        {
            const std::string path = scratch.Write(name + std::to_string(++files) + ".orin", text);
            script->filePath.push_back(engine->resources->LoadScript(path));
        }
        CurrentScene().AddEntity(entity);
        return entity;
    }
    // The same, compiled as the scene loader compiles an entity it reads.
    ECS::IEntity* Compiled(const std::string& name, const std::string& text)
    {
        ECS::IEntity* entity = Scripted(name, {text});
        Scripts().CompileEntity(entity);
        return entity;
    }
    // An entity whose script runs `actions` once, at Initialize, in one step, with `declarations`
    // above the event; `setUp` adds components before that step.
    ECS::IEntity* Once(const std::string& name, const std::string& actions,
                       const std::string& declarations = "",
                       const std::function<void(ECS::IEntity*)>& setUp = nullptr)
    {
        ECS::IEntity* e =
            Compiled(name, declarations + "\n[Event] Initialize\n[Action]\n" + actions + "\n[End]");
        if (setUp)
        {
            setUp(e);
        }
        Step();
        return e;
    }

    static ECS::ScriptComponent& Script(ECS::IEntity* entity)
    {
        return *entity->GetComponent<ECS::ScriptComponent>();
    }
    static float FloatOf(ECS::IEntity* entity, const std::string& name)
    {
        return Script(entity).floatList.at(name);
    }
    Script::ScriptSystem& Scripts() { return *CurrentScene().scriptSystem; }
    void Step(int steps = 1)
    {
        for (int i = 0; i < steps; ++i)
        {
            // The scripts, then the stage that carries out their scene switch and kills.
            Scripts().Update(1.0f / 60.0f);
            engine->SwitchScene(1.0f / 60.0f);
        }
    }
    bool InScene(const ECS::IEntity* e)
    {
        const auto& entities = CurrentScene().entities;
        return std::find(entities.begin(), entities.end(), e) != entities.end();
    }
    const std::vector<std::string>& Log() const { return engine->logger.Lines(); }
    // The log without the "ORIN: " lines that say where a script failed.
    std::vector<std::string> Said() const
    {
        std::vector<std::string> said;
        std::copy_if(Log().begin(), Log().end(), std::back_inserter(said),
                     [](const std::string& line) { return !line.starts_with("ORIN: "); });
        return said;
    }

    ScratchFolder scratch;
    int files = 0;
};

// Scripts with a real offscreen OpenGL context and the built-in programs: actions that reach
// layer framebuffers and textures.
class WindowedScriptTest : public ScriptTest
{
protected:
    void SetUp() override
    {
        engine = &Scene::Engine::Instance();
        ASSERT_TRUE(engine->window->Create()) << "no offscreen OpenGL context";
        ScriptTest::SetUp();
        engine->resources->LoadDefaults();
    }
};

} // namespace Varn::Test
