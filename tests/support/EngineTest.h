#pragma once
// Fixtures shared by the engine tests. Each builds a fresh Engine and tears it down after the
// test, so no test sees another's entities, log lines or counters.
#include "core/Clock.h"
#include "core/IInputSource.h"
#include "core/InputManager.h"
#include "core/Timer.h"
#include "core/Window.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "scene/Engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

namespace Varn::Test
{

// A clock that only moves when told to.
class ManualClock final : public IClock
{
public:
    int64_t NowNanoseconds() const override { return now; }
    void AdvanceMilliseconds(double ms) { now += static_cast<int64_t>(ms * 1000000.0); }
    void AdvanceNanoseconds(int64_t ns) { now += ns; }

    int64_t now = 1000000000; // an arbitrary non-zero start
};

// Each look at this clock finds it `step` nanoseconds later: work that takes time.
class SteppingClock final : public IClock
{
public:
    int64_t NowNanoseconds() const override { return now += step; }
    mutable int64_t now = 1'000'000'000;
    int64_t step = 0;
};

// Input whose devices the test sets by hand; `state` is returned by every sample.
class ScriptedInput final : public IInputSource
{
public:
    InputSample Sample() override
    {
        InputSample sample = state;
        sample.keys |= taps; // a tap counts once, like a press between two polls
        taps.reset();
        return sample;
    }
    void StopPadVibration() override { ++vibrationStops; }

    InputSample state;
    std::bitset<256> taps;
    int vibrationStops = 0;
};

inline std::vector<std::string> NamesOf(const std::vector<ECS::IEntity*>& entities)
{
    std::vector<std::string> names;
    for (const ECS::IEntity* e : entities)
    {
        names.push_back(e->name);
    }
    return names;
}

// The log lines that say content is broken: scripts that fail, pictures or sounds not found.
inline std::vector<std::string> ContentErrors(const std::vector<std::string>& log)
{
    std::vector<std::string> errors;
    for (const std::string& line : log)
    {
        const auto bad = {"Error", "Invalid", "Something is wrong", "Missing", "Cannot find", "ORINCompiler"};
        if (std::any_of(bad.begin(), bad.end(),
                        [&line](const char* word) { return line.find(word) != std::string::npos; }))
        {
            errors.push_back(line);
        }
    }
    return errors;
}

// The entity of `list` named `name`, for one a test cannot go on without: a missing one fails
// the test by name (the framework reports the exception) instead of crashing the whole run.
inline ECS::IEntity* Required(const std::vector<ECS::IEntity*>& list, const std::string& name)
{
    if (ECS::IEntity* e = ECS::EntityManager::FindByName(list, name))
    {
        return e;
    }
    throw std::runtime_error("no entity \"" + name + "\" in the current scene");
}

// An Engine with a current Scene but no OS window: logic tests.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine = &Scene::Engine::Instance();
        engine->timer->SetClock(&clock);
        auto source = std::make_unique<ScriptedInput>();
        input = source.get();
        engine->input->SetSource(std::move(source));
        engine->window->baseWidth = engine->window->viewportWidth = 1280;
        engine->window->baseHeight = engine->window->viewportHeight = 720;
        engine->window->active = true;
        engine->scenes->SetCurrent(engine->NewScene());
    }

    void TearDown() override { Scene::Engine::Shutdown(); }

    ECS::Scene& CurrentScene() { return *engine->scenes->current; }
    ECS::IEntity* Find(const std::string& name)
    {
        return ECS::EntityManager::FindByName(CurrentScene().entities, name);
    }
    ECS::IEntity* Get(const std::string& name) { return Required(CurrentScene().entities, name); }

    // An entity at `position` scaled to `size`, in the current scene, with a transform and the
    // components C... added before it joins.
    template <typename... C>
    ECS::IEntity* Make(const std::string& name, Vector4 position = {}, Vector4 size = {1, 1, 1, 0},
                       ECS::IEntity* parent = nullptr)
    {
        ECS::IEntity* e = engine->entities->CreateEntity(name);
        auto* t = e->AddComponent<ECS::Transform>();
        t->position = position;
        t->scale = size;
        e->parent = parent;
        (e->AddComponent<C>(), ...);
        CurrentScene().AddEntity(e);
        CurrentScene().transformSystem->UpdateAll();
        return e;
    }

    Scene::Engine* engine = nullptr;
    ManualClock clock;
    ScriptedInput* input = nullptr; // owned by the engine's InputManager
};

// The same with a real offscreen window and OpenGL 3.3 core context: rendering tests.
class WindowedEngineTest : public EngineTest
{
protected:
    void SetUp() override
    {
        engine = &Scene::Engine::Instance();
        ASSERT_TRUE(engine->window->Create()) << "no offscreen OpenGL context";
        EngineTest::SetUp();
    }
};

} // namespace Varn::Test
