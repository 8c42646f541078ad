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

template <typename Base, typename... Parts>
Recording<Base>* Replace(ECS::Scene& scene, Base*& slot, Parts&... parts)
{
    auto* recording = new Recording<Base>(&scene, parts...);
    scene.ReplaceSystem(slot, recording);
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
        camera = Replace(CurrentScene(), CurrentScene().cameraSystem, engine->services);
        script = Replace(CurrentScene(), CurrentScene().scriptSystem, engine->services);
        ai = Replace(CurrentScene(), CurrentScene().aiSystem, engine->services);
        physics = Replace(CurrentScene(), CurrentScene().physicsSystem, engine->services);
        graphics = Replace(CurrentScene(), CurrentScene().graphicsSystem, engine->services);
    }

    // One displayed frame that took `ms` of real time.
    int Frame(double ms)
    {
        const size_t before = camera->steps.size();
        clock.AdvanceMilliseconds(ms);
        engine->Update();
        return static_cast<int>(camera->steps.size() - before);
    }

    Recording<Graphics::CameraSystem>* camera = nullptr;
    Recording<Script::ScriptSystem>* script = nullptr;
    Recording<AI::AISystem>* ai = nullptr;
    Recording<Physics::PhysicsSystem>* physics = nullptr;
    Recording<Graphics::GraphicsSystem>* graphics = nullptr;
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
    EXPECT_EQ(Frame(1000.0), Scene::Engine::MAX_STEPS_PER_FRAME);
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
    ECS::Scene* replacement = nullptr;
    Recording<Physics::PhysicsSystem>* newPhysics = nullptr;
    script->onUpdate = [&]
    {
        if (replacement == nullptr)
        {
            engine->scenes->queued.push_back(engine->scenes->current);
            replacement = engine->NewScene();
            newPhysics = Replace(*replacement, replacement->physicsSystem, engine->services);
            engine->scenes->current = replacement;
        }
    };
    Frame(50.0);
    EXPECT_EQ(physics->steps.size(), 0u);
    EXPECT_EQ(newPhysics->steps.size(), 3u);
}

// Frames of a whole 1/60 s in nanoseconds each run one step, in slow motion too, where the step
// is shorter but comes as often.
TEST_F(FrameLoop, SixtyHertzFramesRunOneStepEachWhateverTheTimeScale)
{
    for (const float scale : {1.0f, 0.5f})
    {
        engine->timer->timeScale = scale;
        physics->steps.clear();
        int steps = 0;
        for (int i = 0; i < 600; ++i)
        {
            clock.AdvanceNanoseconds(16666667);
            engine->Update();
            steps += engine->stepsLastFrame;
        }
        EXPECT_EQ(steps, 600) << "time scale " << scale;
        for (float dt : physics->steps)
        {
            EXPECT_FLOAT_EQ(dt, scale / 60.0f);
        }
    }
}

TEST_F(FrameLoop, CountersAdvanceOneSixtiethOfGameTimePerDisplayedFrame)
{
    FrameCounter* running = engine->timer->CreateCounter(false);
    FrameCounter* paused = engine->timer->CreateCounter(true);
    Frame(50.0);
    Frame(5.0);
    EXPECT_EQ(running->elapsed, Timer::COUNTER_STEP + Timer::COUNTER_STEP);
    EXPECT_EQ(paused->elapsed, 0.0f);
    paused->paused = false;
    Frame(16.0);
    EXPECT_EQ(paused->elapsed, Timer::COUNTER_STEP);
    EXPECT_EQ(engine->timer->Counters().size(), 2u);

    // Game time: half pace in slow motion, none while the game is paused by its time scale.
    engine->timer->timeScale = 0.5f;
    Frame(16.0);
    EXPECT_FLOAT_EQ(paused->elapsed, 1.5f * Timer::COUNTER_STEP);
    engine->timer->timeScale = 0.0f;
    Frame(16.0);
    EXPECT_FLOAT_EQ(paused->elapsed, 1.5f * Timer::COUNTER_STEP);
}

TEST_F(FrameLoop, RegainingFocusMeasuresFromTheMomentOfFocus)
{
    Frame(16.0);
    clock.AdvanceMilliseconds(300.0);
    engine->window->SetActive(false);
    EXPECT_FALSE(engine->window->active);
    clock.AdvanceMilliseconds(5000.0);
    engine->window->SetActive(true);
    EXPECT_EQ(engine->timer->deltaTime, 0.0);
    clock.AdvanceMilliseconds(20.0);
    engine->Update();
    EXPECT_NEAR(engine->timer->deltaTime, 0.020, 1e-9);
    EXPECT_NEAR(engine->timer->fps, 50.0, 1e-6);
    EXPECT_EQ(engine->stepsLastFrame, 2); // 16 ms owed from before, plus these 20 ms
}

} // namespace Varn::Test
