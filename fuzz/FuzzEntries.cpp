#include "FuzzEntries.h"

#include "core/Clock.h"
#include "core/IInputSource.h"
#include "core/InputManager.h"
#include "core/Timer.h"
#include "core/Window.h"
#include "core/WindowConfig.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/ScriptComponent.h"
#include "ecs/Transform.h"
#include "enemies/EnemyBuilders.h"
#include "resource/AudioManager.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "scene/Engine.h"
#include "scene/JSONManager.h"
#include "script/GlobalVariables.h"
#include "script/ScriptSystem.h"

#include <SDL.h>
#include <glbinding/Binding.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <unistd.h>

namespace Varn::Fuzz
{

namespace
{

namespace fs = std::filesystem;

// Enough for scripts' Initialize and first Update events, collisions and a requested scene
// switch to happen, while a run stays in the low milliseconds.
constexpr int STEPS = 4;

// The process's private folder: inputs are written here, "Resources" links to the repository's
// content (so scenes, prefabs and scripts find what the game's own files name) and "save" is the
// data home, so globals never reach the player's real save.
struct Workspace
{
    fs::path root;
    fs::path dataHome;
};

const Workspace* workspace = nullptr; // built once, never destroyed: the exit handler reads it

void RemoveWorkspace()
{
    std::error_code ignored;
    fs::remove_all(workspace->root, ignored);
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "fuzz set-up: %s\n", what.c_str());
    std::abort();
}

// The same headless environment the test main sets up, once per process.
const Workspace& TheWorkspace()
{
    if (workspace != nullptr)
    {
        return *workspace;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("APPDATA"); // it would win over XDG_DATA_HOME

    // Memory-backed where the machine has it: every input is written and read back.
    std::error_code error;
    const fs::path base = access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / ("corvalune-fuzz-" + std::to_string(getpid()) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
    {
        Fail("cannot create a folder in " + base.string());
    }
    auto* made = new Workspace{pattern, fs::path(pattern) / "save"};
    fs::create_directory_symlink(fs::path(CORVALUNE_SOURCE_DIR) / "Resources", made->root / "Resources",
                                 error);
    if (error)
    {
        Fail("cannot link the Resources folder: " + error.message());
    }
    workspace = made;
    std::atexit(RemoveWorkspace);
    return *workspace;
}

// A hidden window with an OpenGL 3.3 core context, made current on creation.
class HiddenContext
{
public:
    HiddenContext()
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        {
            Fail(std::string("no video: ") + SDL_GetError());
        }
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        window = SDL_CreateWindow("Corvalune fuzz", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
        if (context == nullptr)
        {
            Fail(std::string("no OpenGL context: ") + SDL_GetError());
        }
        SDL_GL_MakeCurrent(window, context);
        glbinding::Binding::initialize();
    }
    ~HiddenContext()
    {
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    HiddenContext(const HiddenContext&) = delete;
    HiddenContext& operator=(const HiddenContext&) = delete;

    void MakeCurrent() const
    {
        SDL_GL_MakeCurrent(window, context);
        glbinding::Binding::useCurrentContext();
    }
    void Release() const { SDL_GL_MakeCurrent(window, nullptr); }

private:
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};

const HiddenContext* heldContext = nullptr; // set by HoldDevicesForProcess; never destroyed

// A current OpenGL context for the whole of one run: the game always has one, and script
// actions on layers or texture uploads reach the driver. The process's held context when
// there is one, else a context of the run's own, made and destroyed as the windowed tests
// make theirs, so nothing of it outlives the run.
class RunContext
{
public:
    RunContext()
    {
        if (heldContext != nullptr)
        {
            heldContext->MakeCurrent();
        }
        else
        {
            own = std::make_unique<HiddenContext>();
        }
    }
    ~RunContext()
    {
        if (own == nullptr)
        {
            heldContext->Release();
        }
    }
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

private:
    std::unique_ptr<HiddenContext> own;
};

// A clock that never moves: runs do not depend on how fast the machine is.
class StillClock final : public IClock
{
public:
    int64_t NowNanoseconds() const override { return 1000000000; }
};

// No key, no mouse, no pad.
class IdleInput final : public IInputSource
{
public:
    InputSample Sample() override { return {}; }
    void StopPadVibration() override {}
};

enum class SCENE
{
    NONE,
    EMPTY
};

// One run: the working directory and data home point into the workspace (the save folder
// emptied first), and a headless engine exists, set up as the engine tests set theirs up. The
// destructor tears the engine down and gives the process its directory and environment back.
class Stage
{
public:
    explicit Stage(SCENE scene) : space(TheWorkspace())
    {
        std::error_code ignored;
        previousFolder = fs::current_path(ignored);
        if (const char* home = std::getenv("XDG_DATA_HOME"))
        {
            previousDataHome = home;
        }
        fs::remove_all(space.dataHome, ignored);
        fs::create_directory(space.dataHome, ignored);
        fs::current_path(space.root);
        setenv("XDG_DATA_HOME", space.dataHome.c_str(), 1);

        // The game's enemies run in its scenes, as in the game itself.
        Game::RegisterEnemies();
        engine = &Scene::Engine::Instance();
        engine->timer->SetClock(&clock);
        engine->input->SetSource(std::make_unique<IdleInput>());
        engine->window->baseWidth = engine->window->viewportWidth = 1280;
        engine->window->baseHeight = engine->window->viewportHeight = 720;
        engine->window->active = true;
        if (scene == SCENE::EMPTY)
        {
            engine->scenes->SetCurrent(engine->NewScene());
        }
    }
    ~Stage()
    {
        Scene::Engine::Shutdown(); // before the context goes: framebuffers and textures are deleted there
        std::error_code ignored;
        fs::current_path(previousFolder, ignored);
        if (previousDataHome)
        {
            setenv("XDG_DATA_HOME", previousDataHome->c_str(), 1);
        }
        else
        {
            unsetenv("XDG_DATA_HOME");
        }
    }
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    // Writes the input to `name` in the workspace; returns its full path.
    std::string Write(const fs::path& name, const uint8_t* data, std::size_t size) const
    {
        const fs::path file = space.root / name;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return file.string();
    }

    void Steps() const
    {
        for (int i = 0; i < STEPS; ++i)
        {
            engine->Step(static_cast<float>(Scene::Engine::STEP));
        }
    }

    // The run's log lines, taken out of the engine so they do not pile up between inputs.
    Outcome Finish()
    {
        outcome.log = engine->logger.Lines();
        engine->logger.Clear();
        return std::move(outcome);
    }

    const Workspace& space;
    const RunContext context;
    Scene::Engine* engine = nullptr;
    Outcome outcome;

private:
    StillClock clock; // outlives the engine's timer, which reads it
    fs::path previousFolder;
    std::optional<std::string> previousDataHome;
};

// Reads every decoded byte, as the upload would: a decoder that reports a larger image than
// it filled is caught by the address checker here rather than inside the driver.
bool PixelsAreWhole(const Resource::Texture2D& texture)
{
    if (texture.width <= 0 || texture.height <= 0 || texture.channels < 1 || texture.channels > 4)
    {
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(texture.width) *
                              static_cast<std::size_t>(texture.height) *
                              static_cast<std::size_t>(texture.channels);
    unsigned sum = 0;
    for (std::size_t i = 0; i < bytes; ++i)
    {
        sum += texture.pixels[i];
    }
    volatile unsigned sink = sum; // keeps the reads
    (void)sink;
    return true;
}

void Decode(Stage& stage, const uint8_t* data, std::size_t size, const std::string& extension)
{
    const std::string path = stage.Write("input" + extension, data, size);
    Resource::Texture2D* texture = stage.engine->resources->GetTexture(path);
    texture->Load();
    if (texture->pixels != nullptr && !PixelsAreWhole(*texture))
    {
        stage.outcome.consistent = false;
    }
    stage.engine->resources->UnloadTexture(path);
}

} // namespace

Outcome LoadSceneText(const uint8_t* data, std::size_t size)
{
    Stage stage(SCENE::EMPTY);
    stage.Write("input.scene", data, size);
    stage.engine->jsonManager->LoadScene("input.scene", false);
    stage.Steps();
    return stage.Finish();
}

Outcome LoadPrefabText(const uint8_t* data, std::size_t size)
{
    Stage stage(SCENE::EMPTY);
    stage.Write("input.prefab", data, size);
    stage.engine->jsonManager->LoadPrefab("input.prefab", {0.0f, 0.0f, 0.0f, 0.0f});
    stage.Steps();
    return stage.Finish();
}

Outcome RunScriptText(const uint8_t* data, std::size_t size)
{
    Stage stage(SCENE::EMPTY);
    stage.Write("input.orin", data, size);
    Scene::Engine& engine = *stage.engine;
    ECS::IEntity* entity = engine.entities->CreateEntity("Fuzzed");
    entity->AddComponent<ECS::Transform>();
    auto* script = entity->AddComponent<ECS::ScriptComponent>();
    if (Resource::Script* file = engine.resources->LoadScript("input.orin"))
    {
        script->filePath.push_back(file);
    }
    // As the scene loader does: the entity as it is read, then the whole scene.
    ECS::Scene& scene = *engine.scenes->current;
    scene.AddEntity(entity);
    scene.scriptSystem->CompileEntity(entity);
    scene.scriptSystem->CompileScene();
    stage.Steps();
    return stage.Finish();
}

Outcome ReadGlobalsText(const uint8_t* data, std::size_t size)
{
    Stage stage(SCENE::NONE);
    const fs::path folder = Script::GlobalVariables::UserFolder();
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    stage.Write(folder / Script::GlobalVariables::FILE_NAME, data, size);

    // Floats are saved to six digits, so the first save may round what the player's file held;
    // from then on a save has to read back exactly as it was written.
    Script::GlobalVariables first{stage.engine->logger};
    first.Load();
    first.Save();
    Script::GlobalVariables second{stage.engine->logger};
    second.Load();
    second.Save();
    Script::GlobalVariables third{stage.engine->logger};
    third.Load();
    stage.outcome.consistent = third.Text() == second.Text();
    return stage.Finish();
}

Outcome DecodeImage(const uint8_t* data, std::size_t size, const std::string& extension)
{
    Stage stage(SCENE::NONE);
    Decode(stage, data, size, extension);
    return stage.Finish();
}

Outcome DecodeImageEveryFormat(const uint8_t* data, std::size_t size)
{
    Stage stage(SCENE::NONE);
    for (const std::string& extension : ImageExtensions())
    {
        Decode(stage, data, size, extension);
    }
    return stage.Finish();
}

Outcome ReadConfigText(const uint8_t* data, std::size_t size)
{
    Stage stage(SCENE::NONE);
    stage.Write("gameConfig.ini", data, size);
    // What Window::Create does with the file before it opens the window.
    std::string problems;
    const WindowConfig config = WindowConfig::Load("gameConfig.ini", &problems);
    if (!problems.empty())
    {
        problems.pop_back();
        stage.engine->logger.Log(problems);
    }
    // The base picture letter-boxed onto the desktop the offscreen driver reports.
    const LetterBox box = Window::ComputeLetterBox(config.windowedWidth, config.windowedHeight, 1024, 768);
    volatile int sink = box.width + box.height + box.x + box.y; // keeps the arithmetic
    (void)sink;
    return stage.Finish();
}

void HoldDevicesForProcess()
{
    TheWorkspace(); // the drivers are chosen there
    // The mixer counts its openings: while this one lives, each run's engine shares the open
    // output instead of opening and closing the device.
    static const Resource::AudioManager* const sound = new Resource::AudioManager();
    (void)sound;
    if (heldContext == nullptr)
    {
        heldContext = new HiddenContext();
        heldContext->Release();
    }
}

const std::vector<Target>& Targets()
{
    static const std::vector<Target> targets = {
        {"scene", LoadSceneText},     {"prefab", LoadPrefabText},        {"orin", RunScriptText},
        {"globals", ReadGlobalsText}, {"image", DecodeImageEveryFormat}, {"config", ReadConfigText},
    };
    return targets;
}

const Target* FindTarget(const std::string& name)
{
    for (const Target& target : Targets())
    {
        if (name == target.name)
        {
            return &target;
        }
    }
    return nullptr;
}

const std::vector<std::string>& ImageExtensions()
{
    static const std::vector<std::string> extensions = {".png", ".dds", ".tga", ".bmp", ".jpg"};
    return extensions;
}

} // namespace Varn::Fuzz
