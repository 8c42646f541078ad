// Corvalune: reads the command line, builds the engine, opens the window, loads the first scene
// (the logo, unless told otherwise) and runs until quit.
#include "GameOptions.h"
#include "enemies/EnemyBuilders.h"
#include "scene/Engine.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

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
        std::filesystem::create_directories(options.saveDir, error);
        setenv("CORVALUNE_SAVE_DIR", options.saveDir.c_str(), 1);
    }

    Varn::Game::RegisterEnemies();
    Varn::Scene::Engine& engine = Varn::Scene::Engine::Instance();
    if (options.seed)
    {
        engine.random.Seed(*options.seed);
    }
    if (!engine.Start(options.scene))
    {
        engine.logger.Flush();
        Varn::Scene::Engine::Shutdown();
        return 1;
    }
    engine.RunMainLoop();
    Varn::Scene::Engine::Shutdown();
    return 0;
}
