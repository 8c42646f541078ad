#include "scene/Engine.h"

#include "ai/AISystem.h"
#include "core/InputManager.h"
#include "core/Replay.h"
#include "core/Timer.h"
#include "core/Window.h"
#include "ecs/Camera.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "graphics/AnimationSystem.h"
#include "graphics/CameraSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/LayerFramebuffers.h"
#include "graphics/ParticleSystem.h"
#include "graphics/UIButtonSystem.h"
#include "graphics/UIGraphicsSystem.h"
#include "graphics/UITextSystem.h"
#include "physics/PhysicsSystem.h"
#include "resource/AudioManager.h"
#include "resource/ResourceManager.h"
#include "scene/ContentWatcher.h"
#include "scene/JSONManager.h"
#include "script/ScriptSystem.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace Varn::Scene
{

namespace
{
// A plain pointer on purpose: during teardown, members still reach the dying engine (with its
// already-released managers null) instead of building a new one.
Engine* instance = nullptr;
} // namespace

Engine& Engine::Instance()
{
    if (instance == nullptr)
    {
        instance = new Engine();
    }
    return *instance;
}

void Engine::Shutdown()
{
    delete instance;
    instance = nullptr;
}

Engine::Engine()
    : window(std::make_unique<Window>(logger)), timer(std::make_unique<Timer>()),
      scenes(std::make_unique<ECS::SceneStack>()),
      resources(std::make_unique<Resource::ResourceManager>(logger)),
      input(std::make_unique<InputManager>(*window)), jsonManager(std::make_unique<JSONManager>(services)),
      audio(std::make_unique<Resource::AudioManager>()), entities(std::make_unique<ECS::EntityManager>()),
      layerFramebuffers(std::make_unique<Graphics::LayerFramebuffers>(*window, *resources)),
      watcher(std::make_unique<ContentWatcher>(*this)),
      services{*window, *timer,    *scenes, *resources, *input,  *jsonManager, jsonManager->loading,
               *audio,  *entities, tags,    logger,     workers, random,       *layerFramebuffers},
      overlay(std::make_unique<Graphics::DebugOverlay>(services))
{
    // What the window hears goes where it belongs.
    window->onInput = [this](const SDL_Event& event)
    {
        // F5 and F3 are the author's: reload what changed, and show or hide the overlay,
        // whatever the scene does with its keys.
        const bool press = event.type == SDL_KEYDOWN && event.key.repeat == 0;
        if (press && event.key.keysym.scancode == SDL_SCANCODE_F5)
        {
            watcher->requested = true;
        }
        if (press && event.key.keysym.scancode == SDL_SCANCODE_F3 && scenes->current != nullptr)
        {
            overlay->SetVisible(*scenes->current, !overlay->Visible());
        }
        input->HandleEvent(event);
    };
    window->onFocusChanged = [this](bool focused)
    {
        // A replay restarts the timer where the recording did, not where this window's focus
        // happens to change.
        if (replay == nullptr || replay->Recording() || replay->Ended())
        {
            if (replay != nullptr)
            {
                replay->RecordRestart();
            }
            timer->Reset();
        }
        if (focused)
        {
            audio->ResumeAll();
        }
        else
        {
            audio->PauseAll();
        }
    };
    window->onResize = [this](int width, int height) { layerFramebuffers->Resize(width, height); };
    window->onFileDropped = [this](DROPPED_FILE kind, const std::string& relative)
    {
        if (scenes->current == nullptr || !scenes->current->playing) // only a paused game reloads
        {
            resources->ReloadDroppedFile(kind, relative);
        }
    };
}

Engine::~Engine()
{
    // Lines of a frame that never finished are not worth printing at exit.
    logger.Clear();
    layerFramebuffers.reset(); // each deletes its framebuffer and texture while the context lives
    // The pool takes every entity with it, so the scenes let go of theirs untouched.
    for (ECS::Scene* scene : scenes->queued)
    {
        scene->ForgetEntities();
    }
    if (scenes->current != nullptr)
    {
        scenes->current->ForgetEntities();
    }
    entities.reset();
    audio.reset();
    jsonManager.reset();
    input.reset();
    resources.reset();
    scenes.reset();
    timer.reset();
    window.reset();
    replay.reset(); // after the input and the timer, which read through it
    // Tearing the scenes down saves the global variables; a save that failed must still reach
    // the player, and no frame is left to print it.
    logger.Flush();
}

ECS::Scene* Engine::NewScene()
{
    auto* scene = new ECS::Scene(services);
    scene->transformSystem = scene->Add<ECS::TransformSystem>();
    scene->physicsSystem = scene->Add<Physics::PhysicsSystem>();
    scene->scriptSystem = scene->Add<Script::ScriptSystem>();
    scene->particleSystem = scene->Add<Graphics::ParticleSystem>();
    scene->cameraSystem = scene->Add<Graphics::CameraSystem>();
    scene->aiSystem = scene->Add<AI::AISystem>();
    scene->graphicsSystem = scene->Add<Graphics::GraphicsSystem>();
    scene->animationSystem = scene->Add<Graphics::AnimationSystem>();
    scene->uiGraphicsSystem = scene->Add<Graphics::UIGraphicsSystem>();
    scene->uiTextSystem = scene->Add<Graphics::UITextSystem>();
    scene->uiButtonSystem = scene->Add<Graphics::UIButtonSystem>();
    scene->AddMainCamera();
    return scene;
}

bool Engine::Start(const std::string& firstScene)
{
    if (!window->Create())
    {
        return false;
    }
    scenes->SetCurrent(NewScene());
    resources->LoadDefaults();
    SDL_GL_SetSwapInterval(1);
    window->clearColour = {0.0f, 0.0f, 0.0f, 1.0f};
    jsonManager->LoadScene(firstScene, false);

    const ECS::IEntity* cameraEntity = scenes->current->mainCamera;
    auto* transform = cameraEntity ? cameraEntity->GetComponent<ECS::Transform>() : nullptr;
    auto* camera = cameraEntity ? cameraEntity->GetComponent<ECS::Camera>() : nullptr;
    if (transform != nullptr && camera != nullptr)
    {
        transform->position = camera->startPosition;
        camera->zoom = camera->startZoom;
    }
    return true;
}

void Engine::RunMainLoop()
{
    for (;;)
    {
        window->PumpMessages();
        if (!window->running)
        {
            break;
        }
        if (!window->active)
        {
            SDL_Delay(10); // in the background: nothing to update or draw
            continue;
        }
        RunFrame();
    }
}

void Engine::RunFrame()
{
    Update();
    if (replay != nullptr)
    {
        replay->Flush(); // a recording cut short by a crash keeps every frame before it
        if (replay->Ended() && !replayEndLogged)
        {
            replayEndLogged = true;
            const std::string steps = std::to_string(replay->Steps());
            if (replay->Problem().empty())
            {
                logger.Log("Replay ended after " + steps + " steps; positions hash " + PositionsHash() +
                           ". The devices take over.");
            }
            else
            {
                logger.Log("Replay stopped after " + steps + " steps: " + replay->Problem() +
                               ". The devices take over.",
                           Logger::ERROR);
            }
        }
    }
    window->ApplyClearColour();
    Render();
    window->SwapBuffers();
    logger.Flush();
}

void Engine::Update()
{
    // Loading frames are frames of the old scene with a slice of the load before each; once
    // the load is done, the step that asked for it finishes on the new entities.
    SceneLoader& loader = jsonManager->scenes;
    if (loader.Busy() && !loader.Continue() && stepWaiting)
    {
        stepWaiting = false;
        scenes->current->scriptSystem->RemoveKilled();
        FinishStep(waitingStep, true);
    }

    while (replay != nullptr && replay->TakeRestart())
    {
        timer->Reset();
    }
    timer->BeginFrame();
    timer->AdvanceCounters();
    watcher->Tick(timer->deltaTime);
    audio->Update(timer->deltaTime);

    stepsLastFrame = 0;
    if (scenes->current != nullptr && scenes->current->playing)
    {
        stepAccumulator += static_cast<float>(timer->deltaTime);
        while (static_cast<double>(stepAccumulator) >= STEP - STEP_TOLERANCE)
        {
            if (stepsLastFrame == MAX_STEPS_PER_FRAME)
            {
                stepAccumulator = 0.0f;
                break;
            }
            const bool finished = Step(static_cast<float>(static_cast<double>(timer->timeScale) * STEP));
            stepAccumulator -= STEP_DEBT;
            ++stepsLastFrame;
            if (!finished)
            {
                break; // the rest of this frame is the first loading frame
            }
        }
    }
    else
    {
        Step(static_cast<float>(timer->deltaTime));
        stepsLastFrame = 1;
    }
}

bool Engine::Step(float dt)
{
    input->Update();
    ECS::Scene& scene = *scenes->current;
    scene.cameraSystem->Update(dt);
    // A script that stops the scene still lets its step's logic finish.
    const bool logic = scene.playing;
    if (logic)
    {
        scene.scriptSystem->Update(dt);
        if (!SwitchScene(dt))
        {
            return false;
        }
    }
    FinishStep(dt, logic);
    return true;
}

bool Engine::SwitchScene(float dt)
{
    Script::ScriptSystem& scripts = *scenes->current->scriptSystem;
    SceneLoader& loader = jsonManager->scenes;
    if (scripts.sceneRequested)
    {
        // The last request of the step wins. One made in a loading frame goes with its scene.
        scripts.sceneRequested = false;
        if (!loader.Busy())
        {
            loader.Begin(scripts.requestedScene, scripts.showLoadingFrames);
            if (loader.Busy())
            {
                waitingStep = dt;
                stepWaiting = true;
                return false;
            }
        }
    }
    // Kills wait for a switch in progress: the entities they name may go with it.
    if (!loader.Busy())
    {
        scripts.RemoveKilled();
    }
    return true;
}

void Engine::FinishStep(float dt, bool logic)
{
    // Every stage reads the current scene afresh: the scene switch may have replaced it.
    ECS::Scene& scene = *scenes->current;
    if (logic)
    {
        scene.aiSystem->Update(dt);
        scene.physicsSystem->Update(dt);
    }
    scene.transformSystem->Update(dt);
    scene.particleSystem->Update(dt);
    scene.uiButtonSystem->Update(dt);
    scene.animationSystem->Update(dt);
}

void Engine::Render()
{
    const float noStep = 0.0f;
    ECS::Scene& scene = *scenes->current;
    scene.graphicsSystem->Update(noStep);
    scene.uiGraphicsSystem->Update(noStep);
    scene.uiTextSystem->Update(noStep);
    if (overlay->Visible())
    {
        overlay->Draw(scene, OverlayStats());
    }
}

void Engine::UseReplay(std::unique_ptr<Replay> replay_, std::unique_ptr<IInputSource> live)
{
    replay = std::move(replay_);
    replayEndLogged = false;
    input->SetSource(replay->WrapInput(std::move(live), *window));
    timer->SetClock(replay.get());
}

std::string Engine::PositionsHash() const
{
    // FNV-1a over the bits of each position, in the scene's order.
    uint64_t hash = 14695981039346656037ull;
    for (const ECS::IEntity* entity : scenes->current->entities)
    {
        if (const auto* transform = entity->GetComponent<ECS::Transform>())
        {
            for (const float value : {transform->position.x, transform->position.y})
            {
                uint32_t bits = 0;
                std::memcpy(&bits, &value, sizeof bits);
                for (int i = 0; i < 4; ++i)
                {
                    hash = (hash ^ ((bits >> (8 * i)) & 0xFFu)) * 1099511628211ull;
                }
            }
        }
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::vector<SystemTime> Engine::SystemTimes() const
{
    const ECS::Scene& scene = *scenes->current;
    return {{"scripts", scene.scriptSystem->lastUpdateSeconds, false},
            {"AI", scene.aiSystem->lastUpdateSeconds, false},
            {"physics", scene.physicsSystem->lastUpdateSeconds, false},
            {"transforms", scene.transformSystem->lastUpdateSeconds, false},
            {"camera", scene.cameraSystem->lastUpdateSeconds, false},
            {"particles", scene.particleSystem->lastUpdateSeconds, false},
            {"graphics", scene.graphicsSystem->lastUpdateSeconds, true},
            {"UI", scene.uiGraphicsSystem->lastUpdateSeconds, true}};
}

Graphics::OverlayStats Engine::OverlayStats() const
{
    return {timer->fps, timer->deltaTime, stepsLastFrame, scenes->current->entities.size(), SystemTimes()};
}

} // namespace Varn::Scene
