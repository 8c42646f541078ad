#pragma once
// The process-wide owner of every manager: window, timer, scenes, resources, input, scene
// loader, audio, the entity pool, the layer framebuffers, the logger and the worker pool.
// Built on first use by Instance(), torn down once by Shutdown(). Systems and loaders are
// lent the parts they use (`services`); everything here lives on the main thread.
#include "core/Logger.h"
#include "core/Random.h"
#include "core/Services.h"
#include "core/WorkerPool.h"
#include "ecs/TagRegistry.h"
#include "graphics/DebugOverlay.h"

#include <memory>
#include <string>
#include <vector>

namespace Varn
{
class Window;
class IInputSource;
class InputManager;
class Replay;
class Timer;
} // namespace Varn
namespace Varn::ECS
{
class EntityManager;
class Scene;
class SceneStack;
} // namespace Varn::ECS
namespace Varn::Resource
{
class ResourceManager;
class AudioManager;
} // namespace Varn::Resource
namespace Varn::Graphics
{
class LayerFramebuffers;
}

namespace Varn::Scene
{

class JSONManager;
class ContentWatcher;

class Engine
{
public:
    static constexpr double STEP = 1.0 / 60.0;       // the fixed step, compared in double
    static constexpr float STEP_DEBT = 0.016666668f; // what one step takes off the accumulator
    // The step subtracts a little more than 1/60, so a frame of exactly n steps would come up
    // short by a few nanoseconds and lose its last step; this much shortfall still counts.
    static constexpr double STEP_TOLERANCE = 1e-6;
    // Past this many steps in one frame the game would fall further behind each frame; the
    // rest of the accumulator is dropped instead (0.25 s of game time).
    static constexpr int MAX_STEPS_PER_FRAME = 15;

    static Engine& Instance();
    // Tears the engine down in the fixed order; the next Instance() builds a fresh one.
    static void Shutdown();

    // A scene with its eleven systems, in the order they are built, and its main camera.
    ECS::Scene* NewScene();
    // The entry sequence after construction: window, first scene, vertical sync, the first
    // scene file and the main camera's start values. False when there is no window.
    bool Start(const std::string& firstScene);
    // Runs displayed frames until the window stops running.
    void RunMainLoop();
    // One displayed frame: simulation, drawing, swap, then the frame's log lines.
    void RunFrame();
    // One displayed frame's simulation: a slice of a scene load in progress, then timing,
    // counters, audio and the steps.
    void Update();
    // One simulation step of length dt on the current scene. False when it began a scene load
    // with loading frames: the rest of the step then waits for the load's end.
    bool Step(float dt);
    // The three renderers of one displayed frame, then the debug overlay when it shows.
    void Render();
    // The current scene's systems that time themselves, simulation first, then the renderers.
    std::vector<SystemTime> SystemTimes() const;
    // Records the run, or plays a recorded one, from here on: the replay becomes the frame
    // timer's clock and wraps `live`, the devices' input source. Playing one back, the caller
    // first seeds the random source and loads the scene as the recording run did.
    void UseReplay(std::unique_ptr<Replay> replay, std::unique_ptr<IInputSource> live);
    // Sixteen hex digits summing up where every entity of the current scene is: two runs that
    // end alike print the same.
    std::string PositionsHash() const;
    // The numbers the debug overlay shows for the frame just simulated.
    Graphics::OverlayStats OverlayStats() const;
    // The stage after the scripts: the scene switch they asked for, then their kills. False
    // when it began a scene load with loading frames; the kills and the rest of the step then
    // wait for the load's end, which Update carries on between frames.
    bool SwitchScene(float dt);

    // Plain parts first: the managers below are handed them while being built.
    Logger logger;
    ECS::TagRegistry tags; // the current scene's tag names, registered by the scene loader
    WorkerPool workers{3}; // the three worker tasks of the parallel passes
    Random random;         // every draw of scripts and particles; seeded from the device

    std::unique_ptr<Window> window;
    std::unique_ptr<Timer> timer;
    std::unique_ptr<ECS::SceneStack> scenes;
    std::unique_ptr<Resource::ResourceManager> resources;
    std::unique_ptr<InputManager> input;
    std::unique_ptr<JSONManager> jsonManager;
    std::unique_ptr<Resource::AudioManager> audio;
    std::unique_ptr<ECS::EntityManager> entities;
    std::unique_ptr<Graphics::LayerFramebuffers> layerFramebuffers; // one per layer ever drawn
    std::unique_ptr<ContentWatcher> watcher;                        // reloads changed content: --watch, or F5
    std::unique_ptr<Replay> replay;                                 // --record or --replay; usually null
    float stepAccumulator = 0.0f;                                   // seconds of real time not yet stepped
    int stepsLastFrame = 0;                                         // simulation steps run by the last Update
    const Services services;                         // the parts above, as lent to systems and loaders
    std::unique_ptr<Graphics::DebugOverlay> overlay; // F3 or --overlay; drawn after the UI

private:
    // The step's stages after the scene switch; `logic` says whether AI and physics run, as
    // decided when the step began.
    void FinishStep(float dt, bool logic);

    float waitingStep = 0.0f; // the dt of the step waiting for a scene load
    bool stepWaiting = false; // a step is waiting for a scene load's end
    bool replayEndLogged = false;

    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
};

} // namespace Varn::Scene
