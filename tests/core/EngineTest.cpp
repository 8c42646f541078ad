#include "support/EngineTest.h"

#include "ai/AISystem.h"
#include "graphics/CameraSystem.h"
#include "graphics/GraphicsSystem.h"
#include "physics/PhysicsSystem.h"
#include "script/ScriptSystem.h"

#include <functional>
#include <vector>

namespace Varn::Test
{

namespace
{

// Stands in for a real system to record the step lengths it was given.
template <typename Base> class Recording : public Base
{
public:
    using Base::Base;
    void Update(const float& dt) override
    {
        steps.push_back(dt);
        if (onUpdate)
        {
            onUpdate();
        }
    }
    std::vector<float> steps;
    std::function<void()> onUpdate;
};

template <typename Base> Recording<Base>* Replace(Scene& scene, Base*& slot)
{
    auto* recording = new Recording<Base>(&scene);
    delete slot;
    slot = recording;
    return recording;
}

} // namespace

class FrameLoop : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        camera = Replace(CurrentScene(), CurrentScene().cameraSystem);
        script = Replace(CurrentScene(), CurrentScene().scriptSystem);
        ai = Replace(CurrentScene(), CurrentScene().aiSystem);
        physics = Replace(CurrentScene(), CurrentScene().physicsSystem);
        graphics = Replace(CurrentScene(), CurrentScene().graphicsSystem);
    }

    // One displayed frame that took `ms` of real time.
    int Frame(double ms)
    {
        const size_t before = camera->steps.size();
        clock.AdvanceMilliseconds(ms);
        engine->Update();
        return static_cast<int>(camera->steps.size() - before);
    }

    Recording<System::CameraSystem>* camera = nullptr;
    Recording<System::ScriptSystem>* script = nullptr;
    Recording<System::AISystem>* ai = nullptr;
    Recording<System::PhysicsSystem>* physics = nullptr;
    Recording<System::GraphicsSystem>* graphics = nullptr;
};

TEST_F(FrameLoop, SlowFrameCatchesUpUpToTheCapAndFastFrameWaits)
{
    EXPECT_EQ(Frame(50.0), 3);
    EXPECT_EQ(Frame(10.0), 0);
    EXPECT_EQ(Frame(10.0), 1); // 20 ms owed now
    EXPECT_EQ(script->steps.size(), 4u);
    EXPECT_EQ(physics->steps.size(), 4u);
    for (float dt : camera->steps)
    {
        EXPECT_FLOAT_EQ(dt, 1.0f / 60.0f);
    }

    // Catching up is capped and the rest of the debt dropped.
    EXPECT_EQ(Frame(1000.0), Engine::MAX_STEPS_PER_FRAME);
    EXPECT_EQ(engine->stepAccumulator, 0.0f);
    EXPECT_EQ(Frame(10.0), 0);
    EXPECT_EQ(Frame(250.0), 15); // exactly the cap still runs in full
}

TEST_F(FrameLoop, PausedSceneRunsOneVariableStepWithoutLogic)
{
    CurrentScene().playing = false;
    engine->timer->timeScale = 0.5f;
    EXPECT_EQ(Frame(50.0), 1);
    EXPECT_EQ(Frame(3.0), 1);
    ASSERT_EQ(camera->steps.size(), 2u);
    EXPECT_FLOAT_EQ(camera->steps[0], 0.05f); // real time, not scaled
    EXPECT_FLOAT_EQ(camera->steps[1], 0.003f);
    EXPECT_TRUE(script->steps.empty());
    EXPECT_TRUE(ai->steps.empty());
    EXPECT_TRUE(physics->steps.empty());
}

TEST_F(FrameLoop, QuitMidFrameSkipsLogicForTheRestButStillRenders)
{
    script->onUpdate = [this]
    {
        CurrentScene().playing = false;
        engine->window->running = false;
    };
    engine->logger.Log("last words");
    clock.AdvanceMilliseconds(50.0);
    testing::internal::CaptureStdout();
    engine->RunMainLoop();
    const std::string printed = testing::internal::GetCapturedStdout();

    EXPECT_EQ(camera->steps.size(), 3u); // the frame's steps all run...
    EXPECT_EQ(script->steps.size(), 1u); // ...but logic stops after the quit
    EXPECT_EQ(ai->steps.size(), 1u);     // the quitting step finishes its own logic
    EXPECT_EQ(physics->steps.size(), 1u);
    EXPECT_EQ(graphics->steps.size(), 1u); // the frame is still drawn, once
    EXPECT_EQ(printed, "last words\n");    // and its log lines reach the player
    EXPECT_TRUE(engine->logger.Lines().empty());
}

TEST_F(FrameLoop, StepReadsTheCurrentSceneAfresh)
{
    // A script that swaps scenes mid-step: the rest of that step runs on the new scene.
    Scene* replacement = nullptr;
    Recording<System::PhysicsSystem>* newPhysics = nullptr;
    script->onUpdate = [&]
    {
        if (replacement == nullptr)
        {
            engine->scenes->queued.push_back(engine->scenes->current);
            replacement = new Scene();
            newPhysics = Replace(*replacement, replacement->physicsSystem);
            engine->scenes->current = replacement;
        }
    };
    Frame(50.0);
    EXPECT_EQ(physics->steps.size(), 0u);
    EXPECT_EQ(newPhysics->steps.size(), 3u);
}

} // namespace Varn::Test
