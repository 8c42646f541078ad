#include "script/SceneActions.h"

#include "core/Logger.h"
#include "core/Timer.h"
#include "core/Window.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "resource/AudioManager.h"
#include "script/ActionSupport.h"
#include "script/ORINCompiler.h"
#include "script/ScriptSystem.h"

namespace Varn::Script
{

namespace
{

using ECS::IEntity;

// Both flags and the path are written together; the last request of a step wins.
void RequestScene(bool frames, IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const std::string path = compiler.references.String(entity, params[0], 0, false, hit);
    ScriptSystem& system = compiler.system;
    system.sceneRequested = true;
    system.showLoadingFrames = frames;
    system.requestedScene = path;
    compiler.services.audio.StopSound();
}

void LoadScene(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    RequestScene(false, entity, params, compiler, hit);
}

void LoadSceneSynchro(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    RequestScene(true, entity, params, compiler, hit);
}

void SetTimeScale(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    compiler.services.timer.timeScale = compiler.references.Float(entity, params[0], 0, false, hit);
}

void ExitGame(IEntity*, const Params&, ORINCompiler& compiler, std::size_t)
{
    const Services& engine = compiler.services;
    engine.logger.Log("You just got *wanking* Pranked bro!");
    engine.scenes.current->playing = false;
    engine.window.running = false;
}

void ToggleMouse(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const bool visible = compiler.references.Bool(entity, params[0], 0, false, hit);
    Window& window = compiler.services.window;
    if (visible != window.cursorVisible)
    {
        window.SetCursorVisible(visible);
    }
}

void SetMousePos(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const float x = compiler.references.Float(entity, params[0], 0, false, hit);
    const float y = compiler.references.Float(entity, params[1], 1, false, hit);
    compiler.services.window.WarpCursor(static_cast<int>(Truncated(x)), static_cast<int>(Truncated(y)));
}

// Writes the global variables to the player's save now, not only when the game closes, so that
// a crash or a power cut keeps what was reached. A failure is logged by the save itself.
void SaveGame(IEntity*, const Params&, ORINCompiler& compiler, std::size_t)
{
    compiler.globals.Save();
}

void SetFullscreen(IEntity*, const Params&, ORINCompiler& compiler, std::size_t)
{
    compiler.services.window.SetFullscreen();
}

void SetWindowed(IEntity*, const Params&, ORINCompiler& compiler, std::size_t)
{
    compiler.services.window.SetWindowed();
}

// "SetWindowSize <width> <height>": the window's size when windowed, taken at once if it is.
void SetWindowSize(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const float width = compiler.references.Float(entity, params[0], 0, false, hit);
    const float height = compiler.references.Float(entity, params[1], 1, false, hit);
    if (!(width >= 16.0f && width <= 16384.0f && height >= 16.0f && height <= 16384.0f))
    {
        FailStatement();
    }
    compiler.services.window.SetWindowedSize(static_cast<int>(width), static_cast<int>(height));
}

} // namespace

void SceneActions::Register(ActionTable& table)
{
    table["LoadScene"] = {&LoadScene, Takes({1})};
    table["LoadSceneSynchro"] = {&LoadSceneSynchro, Takes({1})};
    table["SetTimeScale"] = {&SetTimeScale, Takes({1})};
    table["ExitGame"] = {&ExitGame, Takes({0})};
    table["ToggleMouse"] = {&ToggleMouse, Takes({1})};
    table["SetMousePos"] = {&SetMousePos, Takes({2})};
    table["SaveGame"] = {&SaveGame, Takes({0})};
    table["SetFullscreen"] = {&SetFullscreen};
    table["SetWindowed"] = {&SetWindowed};
    table["SetWindowSize"] = {&SetWindowSize, Takes({2})};
}

} // namespace Varn::Script
