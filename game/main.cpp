// Corvalune: reads the command line, builds the engine, opens the window, loads the first scene
// (the logo, unless told otherwise) and runs until quit. The log also goes to "corvalune.log" in
// the save folder (the previous run's kept as "corvalune.log.1"), and a crash writes a last line
// and a short backtrace there and to standard error before the process dies.
#include "GameOptions.h"
#include "core/Logger.h"
#include "core/Replay.h"
#include "core/SdlInputSource.h"
#include "core/Window.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "enemies/EnemyBuilders.h"
#include "graphics/DebugOverlay.h"
#include "scene/ContentWatcher.h"
#include "scene/Engine.h"
#include "script/GlobalVariables.h"
#include "script/ScriptSystem.h"

#include <execinfo.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

namespace
{

std::atomic<int> crashLog{-1}; // the log file's descriptor, for the crash handler

void WriteBoth(const char* text)
{
    const int log = crashLog.load();
    if (log >= 0)
    {
        (void)!write(log, text, std::strlen(text));
    }
    (void)!write(STDERR_FILENO, text, std::strlen(text));
}

// Only calls that are safe inside a signal handler; then the default action, which ends the
// process as the signal would have.
void OnCrash(int signal)
{
    // One report: a second fault, or the same signal sent again and taken by another thread
    // (timeout sends it to the process and again to its group), waits for the first to end
    // the process.
    static std::atomic_flag reporting; // clear
    if (reporting.test_and_set())
    {
        for (;;)
        {
            pause();
        }
    }
    const char* what = signal == SIGSEGV   ? "segmentation fault"
                       : signal == SIGABRT ? "abort"
                       : signal == SIGBUS  ? "bus error"
                       : signal == SIGFPE  ? "arithmetic error"
                                           : "illegal instruction";
    WriteBoth("corvalune: crashed (");
    WriteBoth(what);
    WriteBoth("); backtrace:\n");
    void* frames[32];
    const int count = backtrace(frames, 32);
    const int log = crashLog.load();
    if (log >= 0)
    {
        backtrace_symbols_fd(frames, count, log);
    }
    backtrace_symbols_fd(frames, count, STDERR_FILENO);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Sanitizer builds keep their own, fuller crash reports.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool CATCH_CRASHES = false;
#else
constexpr bool CATCH_CRASHES = true;
#endif

void CatchCrashes(int logFile)
{
    crashLog = logFile;
    if constexpr (!CATCH_CRASHES)
    {
        return;
    }
    void* warm[1];
    backtrace(warm, 1); // loads the unwinder now: the first call may allocate
    for (const int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
    {
        std::signal(signal, OnCrash);
    }
}

} // namespace

int main(int argc, char** argv)
{
    using Varn::Game::GameOptions;
    const GameOptions options = GameOptions::Parse(argc, argv);
    if (!options.problem.empty())
    {
        std::cerr << "corvalune: " << options.problem << "\n" << GameOptions::Usage();
        return 2;
    }
    if (options.help || options.version)
    {
        std::cout << (options.help ? GameOptions::Usage() : "corvalune " CORVALUNE_VERSION "\n");
        return 0;
    }
    std::error_code error;
    // Replays are named from where the game was started, before --data moves it.
    const std::string recordPath =
        options.record.empty() ? "" : std::filesystem::absolute(options.record, error).string();
    std::unique_ptr<Varn::Replay> playback;
    if (!options.replay.empty())
    {
        std::string problem;
        playback = Varn::Replay::Play(options.replay, problem);
        if (playback == nullptr)
        {
            std::cerr << "corvalune: " << problem << "\n";
            return 2;
        }
    }
    if (!options.dataDir.empty())
    {
        std::filesystem::current_path(options.dataDir, error);
        if (error || !std::filesystem::is_directory("Resources", error))
        {
            std::cerr << "corvalune: no Resources folder in " << options.dataDir << "\n";
            return 2;
        }
    }
    if (!options.saveDir.empty())
    {
        // Absolute: the game may move into its content folder before it saves.
        const std::filesystem::path saveDir = std::filesystem::absolute(options.saveDir, error);
        std::filesystem::create_directories(saveDir, error);
        setenv("CORVALUNE_SAVE_DIR", saveDir.c_str(), 1);
    }

    Varn::Game::RegisterEnemies();
    Varn::Scene::Engine& engine = Varn::Scene::Engine::Instance();
    engine.logger.level = options.logLevel;
    engine.window->choice = {options.fullscreen, options.windowedWidth, options.windowedHeight};
    std::string firstScene = options.scene;
    if (playback != nullptr)
    {
        // The recorded run's start: its scene and seed, and a window showing its picture.
        const Varn::Replay::Header& header = playback->header();
        firstScene = header.scene;
        engine.random.Seed(header.seed);
        engine.window->choice = {false, header.pictureWidth, header.pictureHeight};
    }
    engine.watcher->watching = options.watch;
    const std::string saveFolder = Varn::Script::GlobalVariables::UserFolder();
    if (!saveFolder.empty())
    {
        std::filesystem::create_directories(saveFolder, error);
        if (!engine.logger.OpenFile((std::filesystem::path(saveFolder) / "corvalune.log").string()))
        {
            std::cerr << "corvalune: cannot write a log file in " << saveFolder << "\n";
        }
    }
    CatchCrashes(engine.logger.FileDescriptor());
    if (options.seed)
    {
        engine.random.Seed(*options.seed);
    }
    if (!engine.Start(firstScene))
    {
        engine.logger.Flush();
        crashLog = -1;
        Varn::Scene::Engine::Shutdown();
        return 1;
    }
    if (options.fullscreen)
    {
        // The logo applies the saved display choice; one given on the command line becomes it.
        Varn::Script::GlobalVariables& globals = engine.scenes->current->scriptSystem->compiler.globals;
        globals.bools["Fullscreen"] = *options.fullscreen;
        if (options.windowedWidth > 0)
        {
            globals.floats["WindowWidth"] = static_cast<float>(engine.window->baseWidth);
            globals.floats["WindowHeight"] = static_cast<float>(engine.window->baseHeight);
        }
    }
    if (options.overlay)
    {
        engine.overlay->SetVisible(*engine.scenes->current, true);
    }
    const Varn::Window& window = *engine.window;
    engine.logger.Log("Corvalune " CORVALUNE_VERSION);
    engine.logger.Log("OpenGL: " + window.RendererName());
    engine.logger.Log("Window: " + std::to_string(window.viewportWidth) + "x" +
                      std::to_string(window.viewportHeight) +
                      (window.fullscreen ? ", full screen" : ", windowed"));
    engine.logger.Log("Content: " + std::filesystem::current_path(error).string());
    engine.logger.Log("Saves: " + saveFolder);
    if (playback != nullptr)
    {
        engine.logger.Log("Replaying " + options.replay);
        engine.UseReplay(std::move(playback), std::make_unique<Varn::SdlInputSource>());
    }
    else if (!recordPath.empty())
    {
        const Varn::Replay::Header header{engine.random.Seed(), firstScene, window.viewportWidth,
                                          window.viewportHeight};
        std::string problem;
        if (auto recording = Varn::Replay::Record(recordPath, header, problem))
        {
            engine.logger.Log("Recording to " + recordPath);
            engine.UseReplay(std::move(recording), std::make_unique<Varn::SdlInputSource>());
        }
        else
        {
            engine.logger.Log(problem + "; the game goes on without recording", Varn::Logger::ERROR);
        }
    }
    engine.RunMainLoop();
    if (engine.replay != nullptr && engine.replay->Recording())
    {
        engine.replay->Flush();
        engine.logger.Log("Recorded " + std::to_string(engine.replay->Steps()) + " steps; positions hash " +
                          engine.PositionsHash());
        engine.logger.Flush();
    }
    crashLog = -1; // the file closes with the engine
    Varn::Scene::Engine::Shutdown();
    return 0;
}
