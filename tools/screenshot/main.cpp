// Loads a scene headless, runs some frames and saves the picture as a PNG.
//   build/tools/corvalune_screenshot [--save-dir DIR] SCENE FRAMES OUT.png [PLAYER_X]
// With PLAYER_X the entity named "Player" starts at that x, so a picture can show any part of
// a level. The run's save goes to DIR, or to a temporary folder, never to the player's.
// Run it from the folder that holds Resources/ (the repository's top folder); without a
// display it uses SDL's offscreen driver. Exits 1 when the scene does not load or the picture
// cannot be written, 2 on a wrong command line.
#include "common/ToolArguments.h"
#include "common/ToolSaveFolder.h"
#include "core/Window.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/Transform.h"
#include "enemies/EnemyBuilders.h"
#include "graphics/Screenshot.h"
#include "scene/Engine.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace
{
constexpr const char* USAGE =
    "usage: corvalune_screenshot [--save-dir DIR] SCENE FRAMES OUT.png [PLAYER_X]\n";
}

int main(int argc, char** argv)
{
    const Varn::Tools::ToolArguments arguments = Varn::Tools::ToolArguments::Parse(argc, argv);
    if (arguments.help)
    {
        std::cout << USAGE;
        return 0;
    }
    const std::vector<std::string>& given = arguments.positional;
    if (!arguments.problem.empty() || arguments.steps != 0 || (given.size() != 3 && given.size() != 4))
    {
        std::cerr << (arguments.problem.empty() ? "" : arguments.problem + "\n") << USAGE;
        return 2;
    }
    const std::string& scenePath = given[0];
    const int frames = std::atoi(given[1].c_str());
    const std::string& out = given[2];
    Varn::Tools::ToolSaveFolder save(arguments.saveDir);
    if (!save.ok)
    {
        std::cerr << "cannot make the save folder " << save.path << "\n";
        return 2;
    }
    Varn::Game::RegisterEnemies();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    Varn::Scene::Engine& engine = Varn::Scene::Engine::Instance();
    const bool started = engine.Start(scenePath);
    if (!started || engine.scenes->current->name != scenePath)
    {
        engine.logger.Flush();
        std::cerr << scenePath << (started ? ": the scene did not load\n" : ": no window\n");
        Varn::Scene::Engine::Shutdown();
        return 1;
    }
    if (given.size() == 4)
    {
        Varn::ECS::IEntity* player =
            Varn::ECS::EntityManager::FindByName(engine.scenes->current->entities, "Player");
        auto* transform = player != nullptr ? player->GetComponent<Varn::ECS::Transform>() : nullptr;
        if (transform == nullptr)
        {
            std::cerr << "no Player with a Transform in " << scenePath << "\n";
            Varn::Scene::Engine::Shutdown();
            return 1;
        }
        transform->position.x = static_cast<float>(std::atof(given[3].c_str()));
    }
    for (int i = 0; i < frames; ++i)
    {
        engine.RunFrame();
    }
    // The last frame is captured between drawing and the swap.
    engine.Update();
    engine.window->ApplyClearColour();
    engine.Render();
    const bool saved = Varn::Graphics::Screenshot::Capture(*engine.window).SavePng(out);
    if (!saved)
    {
        engine.logger.Log("Error: Failed To Save Screenshot " + out);
    }
    engine.logger.Flush();
    Varn::Scene::Engine::Shutdown();
    return saved ? 0 : 1;
}
