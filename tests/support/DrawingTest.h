#pragma once
// A real offscreen window over the repository's Resources folder with the default resources
// loaded: for tests that draw and read pixels back. The world's 1920 x 1080 view maps onto the
// picture, so at the default 320 x 180 one pixel is 6 world units.
#include "support/EngineTest.h"
#include "support/ScratchFolder.h"

#include "ecs/EntityManager.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "ecs/UIText.h"
#include "graphics/CameraSystem.h"
#include "graphics/GraphicsSystem.h"
#include "resource/ResourceManager.h"
#include "script/ScriptSystem.h"

#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <array>
#include <filesystem>

namespace Varn::Test
{

using namespace gl33core;
using ECS::IEntity;
using ECS::SpriteRenderer;
using ECS::Transform;

class Drawing : public ::testing::Test
{
protected:
    void Open(const std::string& config)
    {
        folder.Link("Resources");
        folder.Write("gameConfig.ini", config);
        StartEngine();
    }
    // A fresh engine with its window, a scene and the default resources.
    void StartEngine()
    {
        engine = &Scene::Engine::Instance();
        ASSERT_TRUE(engine->window->Create());
        engine->scenes->SetCurrent(engine->NewScene());
        engine->resources->LoadDefaults();
        engine->window->clearColour = {0, 0, 0, 1};
    }
    void SetUp() override { Open("[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=320\n"); }
    void TearDown() override { Scene::Engine::Shutdown(); }

    // Input the test drives, and the globals of a new game with the default keys and volumes: the
    // save file is shared by the whole test run.
    void PlayAsANewPlayer()
    {
        auto source = std::make_unique<ScriptedInput>();
        input = source.get();
        engine->input->SetSource(std::move(source));
        Script::GlobalVariables& globals = CurrentScene().scriptSystem->compiler.globals;
        for (const char* name :
             {"FurthestLevel", "Pickups", "RunPickups", "BestTime1", "BestTime2", "BestTime3", "LevelTime"})
        {
            globals.floats[name] = 0.0f;
        }
        globals.bools["Fullscreen"] = false;
        globals.bools["CursorVisible"] = true;
        for (const auto& [name, value] : {std::pair{"NextLevel", 1.0f},
                                          {"MusicVolume", 100.0f},
                                          {"EffectsVolume", 100.0f},
                                          {"WindowWidth", 0.0f},
                                          {"KeyLeft", 37.0f},
                                          {"KeyRight", 39.0f},
                                          {"KeyJump", 32.0f},
                                          {"KeyShoot", 88.0f},
                                          {"KeySmash", 67.0f},
                                          {"KeyHook", 90.0f},
                                          {"KeyPause", 27.0f}})
        {
            globals.floats[name] = value;
        }
    }

    ECS::Scene& CurrentScene() { return *engine->scenes->current; }
    Graphics::GraphicsSystem& Graphics() { return *CurrentScene().graphicsSystem; }
    IEntity* Find(const std::string& name) const
    {
        return ECS::EntityManager::FindByName(engine->scenes->current->entities, name);
    }
    IEntity* Get(const std::string& name) const { return Required(engine->scenes->current->entities, name); }
    std::string Text(const std::string& name) const
    {
        IEntity* e = Find(name);
        const auto* text = e != nullptr ? e->GetComponent<ECS::UIText>() : nullptr;
        return text != nullptr ? text->text : "<no " + name + ">";
    }

    // A white square sprite `size` world units wide, tinted.
    IEntity* Sprite(float x, float y, float z, float size, uint32_t layer, VarnColor tint)
    {
        IEntity* e = engine->entities->CreateEntity();
        Transform* t = e->AddComponent<Transform>();
        t->position = {x, y, z, 0};
        t->scale = {size / 32.0f, size / 32.0f, 1, 0}; // the default sprite is 32 x 32
        auto* sprite = e->AddComponent<SpriteRenderer>();
        sprite->UseDefaults(engine->services); // as a scene file's block starts
        sprite->tint = tint;
        e->layer = layer;
        CurrentScene().AddEntity(e);
        return e;
    }

    void Frame()
    {
        CurrentScene().transformSystem->UpdateAll();
        CurrentScene().cameraSystem->Update(0.0f);
        engine->window->ApplyClearColour();
        Graphics().Update(0.0f);
    }

    // The window's pixel at a world point, as 0-255 RGB.
    std::array<int, 3> At(float worldX, float worldY)
    {
        const Window& w = *engine->window;
        const int x =
            w.viewportX + static_cast<int>(static_cast<float>(w.viewportWidth) * (0.5f + worldX / 1920.0f));
        const int y =
            w.viewportY + static_cast<int>(static_cast<float>(w.viewportHeight) * (0.5f + worldY / 1080.0f));
        std::array<uint8_t, 4> rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return {rgba[0], rgba[1], rgba[2]};
    }

    bool Listed(const IEntity* e, int32_t layer)
    {
        const auto& list = Graphics().drawLists[layer];
        return std::find(list.begin(), list.end(), e) != list.end();
    }

    ScratchFolder folder{ScratchFolder::ENTER};
    Scene::Engine* engine = nullptr;
    ScriptedInput* input = nullptr; // once set, owned by the engine's InputManager
};

} // namespace Varn::Test
