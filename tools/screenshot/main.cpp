// Loads a scene headless, runs some frames and saves the picture as a PNG.
//   build/tools/corvalune_screenshot SCENE FRAMES OUT.png [PLAYER_X]
// With PLAYER_X the entity named "Player" starts at that x, so a picture can show any part of
// a level.
// Run it from the folder that holds Resources/ (the repository's top folder); without a
// display it uses SDL's offscreen driver.
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

int main(int argc, char** argv)
{
    Varn::Behaviours::RegisterEnemies();
    if (argc != 4 && argc != 5)
    {
        std::cerr << "usage: corvalune_screenshot SCENE FRAMES OUT.png [PLAYER_X]\n";
        return 2;
    }
    const int frames = std::atoi(argv[2]);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    Varn::Engine& engine = Varn::Engine::Instance();
    if (!engine.Start(argv[1]))
    {
        engine.logger.Flush();
        Varn::Engine::Shutdown();
        return 1;
    }
    if (argc == 5)
    {
        Varn::ECS::IEntity* player =
            Varn::ECS::EntityManager::FindByName(engine.scenes->current->entities, "Player");
        auto* transform = player != nullptr ? player->GetComponent<Varn::Component::Transform>() : nullptr;
        if (transform == nullptr)
        {
            std::cerr << "no Player with a Transform in " << argv[1] << "\n";
            Varn::Engine::Shutdown();
            return 1;
        }
        transform->position.x = static_cast<float>(std::atof(argv[4]));
    }
    for (int i = 0; i < frames; ++i)
    {
        engine.RunFrame();
    }
    // The last frame is captured between drawing and the swap.
    engine.Update();
    engine.window->ApplyClearColour();
    engine.Render();
    const bool saved = Varn::Graphics::Screenshot::Capture(*engine.window).SavePng(argv[3]);
    if (!saved)
    {
        engine.logger.Log(std::string("Error: Failed To Save Screenshot ") + argv[3]);
    }
    engine.logger.Flush();
    Varn::Engine::Shutdown();
    return saved ? 0 : 1;
}
