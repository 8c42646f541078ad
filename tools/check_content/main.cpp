// Checks the game's content: every scene, prefab and script under Resources/, and every file
// they name.
//   build/tools/corvalune_check_content [FOLDER]
// FOLDER holds Resources/ (the repository's top folder; the current directory by default).
// Prints one line per problem, "<file>: <problem>", then a summary; exits with 0 when the
// content is clean, 1 when it is not and 2 when the check could not run.
#include "check_content/ContentChecker.h"
#include "common/ToolSaveFolder.h"

#include "core/Window.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "resource/ResourceManager.h"
#include "scene/Engine.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    const std::string usage = "usage: corvalune_check_content [FOLDER HOLDING Resources/]\n";
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h"))
    {
        std::cout << usage;
        return 0;
    }
    if (argc > 2 || (argc == 2 && argv[1][0] == '-'))
    {
        std::cerr << usage;
        return 2;
    }
    std::error_code error;
    if (argc == 2)
    {
        std::filesystem::current_path(argv[1], error);
        if (error)
        {
            std::cerr << argv[1] << ": " << error.message() << "\n";
            return 2;
        }
    }
    if (!std::filesystem::is_directory("Resources", error))
    {
        std::cerr << "no Resources folder in " << std::filesystem::current_path(error).string() << "\n";
        return 2;
    }

    // Headless, and with a save folder of its own: the script system writes the global
    // variables back when it goes, and a check must not touch the player's save.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Varn::Tools::ToolSaveFolder save("");
    if (!save.ok)
    {
        std::cerr << "cannot make a temporary folder\n";
        return 2;
    }

    Varn::Scene::Engine& engine = Varn::Scene::Engine::Instance();
    int result = 2;
    if (engine.window->Create())
    {
        engine.scenes->SetCurrent(engine.NewScene());
        engine.resources->LoadDefaults();
        // Missing default files are reported by the checker itself, by name.
        engine.logger.Clear();

        Varn::Tools::ContentChecker checker;
        checker.Run();
        for (const std::string& line : checker.Lines())
        {
            std::cout << line << "\n";
        }
        std::cout << checker.Summary() << std::endl;
        result = checker.problems.empty() ? 0 : 1;
    }
    else
    {
        engine.logger.Flush();
        std::cerr << "no offscreen OpenGL context\n";
    }
    Varn::Scene::Engine::Shutdown();
    return result;
}
