// Corvalune: builds the engine, opens the window, loads the logo scene and runs until quit.
#include "enemies/EnemyBuilders.h"
#include "scene/Engine.h"

#include <iostream>

int main()
{
    Varn::Behaviours::RegisterEnemies();
    Varn::Engine& engine = Varn::Engine::Instance();
    if (!engine.Start("Resources/Scenes/LogoScene.scene"))
    {
        engine.logger.Flush();
        Varn::Engine::Shutdown();
        return 1;
    }
    engine.RunMainLoop();
    Varn::Engine::Shutdown();
    return 0;
}
