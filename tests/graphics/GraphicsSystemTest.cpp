#include "support/EngineTest.h"
#include "support/ScratchFolder.h"

#include "ecs/Camera.h"
#include "ecs/EntityManager.h"
#include "ecs/Light.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "graphics/CameraSystem.h"
#include "graphics/GraphicsSystem.h"
#include "resource/ResourceManager.h"
#include "resource/Shader.h"

#include <glbinding/gl33core/gl.h>

using namespace gl33core;

namespace Varn::Test
{

using Component::SpriteRenderer;
using Component::Transform;
using ECS::IEntity;

// A real window over the repository's default sprites. The world's 1920 x 1080 view maps onto
// the picture, so at 320 x 180 one pixel is 6 world units.
class Drawing : public ::testing::Test
{
protected:
    void Open(const std::string& config)
    {
        std::filesystem::create_directory_symlink(std::filesystem::path(CORVALUNE_SOURCE_DIR) / "Resources",
                                                  folder.root / "Resources");
        folder.Write("gameConfig.ini", config);
        engine = &Engine::Instance();
        ASSERT_TRUE(engine->window->Create());
        engine->scenes->SetCurrent(new Scene());
        engine->resources->LoadDefaults();
        engine->window->clearColour = {0, 0, 0, 1};
    }
    void SetUp() override { Open("[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=320\n"); }
    void TearDown() override { Engine::Shutdown(); }

    Scene& CurrentScene() { return *engine->scenes->current; }
    System::GraphicsSystem& Graphics() { return *CurrentScene().graphicsSystem; }

    // A white square sprite `size` world units wide, tinted.
    IEntity* Sprite(float x, float y, float z, float size, uint32_t layer, Helper::VarnColor tint)
    {
        IEntity* e = engine->entities->CreateEntity();
        Transform* t = e->AddComponent<Transform>();
        t->position = {x, y, z, 0};
        t->scale = {size / 32.0f, size / 32.0f, 1, 0}; // the default sprite is 32 x 32
        e->AddComponent<SpriteRenderer>()->tint = tint;
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
    Engine* engine = nullptr;
};

using RGB = std::array<int, 3>;

TEST_F(Drawing, LayersStackInOrderAndDepthOrdersWithinALayer)
{
    Sprite(0, 0, 10, 600, 2, {0, 0, 1, 1});  // blue, far back despite its z
    Sprite(-60, 0, 1, 300, 3, {1, 0, 0, 1}); // red
    Sprite(60, 0, 5, 300, 3, {0, 1, 0, 1});  // green, in front of red
    Frame();
    EXPECT_EQ(At(0, 0), (RGB{0, 255, 0}));
    EXPECT_EQ(At(-180, 0), (RGB{255, 0, 0}));
    EXPECT_EQ(At(0, 250), (RGB{0, 0, 255}));
    EXPECT_EQ(At(600, 400), (RGB{0, 0, 0})) << "the window's clear colour";
    for (const auto& record : engine->layerFramebuffers)
    {
        EXPECT_FALSE(record.used) << "records are released at the end of the frame";
    }
}

TEST_F(Drawing, DimmedLayerIsDarkerAndAnEmptyLayerIsNotComposited)
{
    Sprite(0, 0, 0, 300, 1, {1, 1, 1, 1});
    engine->GetLayerFramebuffer(1)->ApplyEffect(Graphics::LAYER_EFFECT::DIM);
    engine->GetLayerFramebuffer(7)->ApplyEffect(Graphics::LAYER_EFFECT::BLUR); // nothing on it
    Frame();
    const RGB dim = At(0, 0);
    EXPECT_NEAR(dim[0], 153, 1);
    EXPECT_EQ(At(600, 0), (RGB{0, 0, 0}));
    EXPECT_EQ(engine->layerFramebuffers.size(), 2u);

    engine->GetLayerFramebuffer(1)->ApplyEffect(Graphics::LAYER_EFFECT::RESET);
    Frame();
    EXPECT_EQ(At(0, 0), (RGB{255, 255, 255}));
}

TEST_F(Drawing, LightsBrightenLitSpritesOnlyWhileLightingIsOn)
{
    IEntity* sprite = Sprite(0, 0, 0, 300, 0, {0.25f, 0.25f, 0.25f, 1});
    IEntity* lamp = engine->entities->CreateEntity("Lamp");
    lamp->AddComponent<Transform>();
    auto* light = lamp->AddComponent<Component::Light>();
    light->ambient = 1.0f;
    light->linear = light->quadratic = 0.0f; // full strength everywhere
    CurrentScene().AddEntity(lamp);

    Frame();
    EXPECT_EQ(At(0, 0), (RGB{128, 128, 128})) << "lit: texel doubled, then tinted";
    Graphics().lightingEnabled = false;
    Frame();
    const RGB unlit = At(0, 0);
    EXPECT_EQ(unlit, (RGB{64, 64, 64}));
    Graphics().lightingEnabled = true;
    sprite->GetComponent<SpriteRenderer>()->receiveLight = false;
    Frame();
    EXPECT_EQ(At(0, 0), unlit);
}

TEST_F(Drawing, EveryLightOfALayerIsCountedAndTheShaderCapsThem)
{
    Sprite(0, 0, 0, 300, 4, {1, 1, 1, 1});
    for (int i = 0; i < 130; ++i)
    {
        IEntity* lamp = engine->entities->CreateEntity();
        lamp->AddComponent<Transform>();
        lamp->AddComponent<Component::Light>();
        lamp->layer = 4;
        CurrentScene().AddEntity(lamp);
    }
    Frame();
    const GLuint program = engine->resources->FindShader(System::ResourceManager::SPRITE_SHADER)->program;
    GLint inUse = 0;
    glGetUniformiv(program, glGetUniformLocation(program, "lightsInUse"), &inUse);
    EXPECT_EQ(inUse, 130);
}

TEST_F(Drawing, CullingDecidesListMembership)
{
    IEntity* left = Sprite(-960 - 61, 0, 0, 120, 0, {1, 1, 1, 1});     // ends just left of the view
    IEntity* touching = Sprite(-960 - 60, 0, 0, 120, 0, {1, 1, 1, 1}); // its right edge on the view's
    IEntity* hidden = Sprite(0, 0, 0, 100, 0, {1, 1, 1, 1});
    hidden->GetComponent<SpriteRenderer>()->visible = false;
    hidden->AddComponent<Component::ParticleEmitter>();
    CurrentScene().AddEntity(hidden);
    IEntity* smoke = Sprite(5000, 0, 0, 100, 0, {1, 1, 1, 1}); // sprite culled, emitter still drawn
    smoke->AddComponent<Component::ParticleEmitter>();
    CurrentScene().AddEntity(smoke);
    IEntity* elsewhere = Sprite(0, 0, 0, 100, 0, {1, 1, 1, 1});
    elsewhere->room = 3;
    IEntity* everywhere = Sprite(0, 0, 0, 100, 0, {1, 1, 1, 1});
    CurrentScene().mainCamera->room = 2;

    CurrentScene().transformSystem->UpdateAll();
    CurrentScene().cameraSystem->Update(0.0f);
    Graphics().CollectDrawables();
    EXPECT_FALSE(Listed(left, 0));
    EXPECT_TRUE(Listed(touching, 0));
    EXPECT_FALSE(Listed(hidden, 0));
    EXPECT_TRUE(Listed(smoke, 0));
    EXPECT_FALSE(Listed(elsewhere, 0));
    EXPECT_TRUE(Listed(everywhere, 0));
    EXPECT_FLOAT_EQ(left->GetComponent<Transform>()->worldScale.x, 120.0f) << "sizes are written for physics";
}

TEST_F(Drawing, GlobalLightsReachEveryDrawnLayerAndUnattenuatedLightsReachFar)
{
    Sprite(0, 0, 0, 100, 1, {1, 1, 1, 1});
    Sprite(0, 0, 0, 100, 6, {1, 1, 1, 1});
    auto addLight = [&](float x, uint32_t layer, bool global, float quadratic)
    {
        IEntity* lamp = engine->entities->CreateEntity();
        lamp->AddComponent<Transform>()->position = {x, 0, 0, 0};
        auto* light = lamp->AddComponent<Component::Light>();
        light->isGlobal = global;
        light->quadratic = quadratic;
        lamp->layer = layer;
        CurrentScene().AddEntity(lamp);
        return lamp;
    };
    IEntity* sun = addLight(0, 9, true, 0.032f);
    // Unattenuated: half-size 0.1875 * sqrt(50 / 1e-7), about 4193 units.
    IEntity* far = addLight(960 + 4150, 1, false, 0.0f);
    IEntity* dim = addLight(960 + 4150, 1, false, 0.032f);

    CurrentScene().transformSystem->UpdateAll();
    CurrentScene().cameraSystem->Update(0.0f);
    Graphics().CollectDrawables();
    auto lights = [&](int32_t layer) { return Graphics().lightLists[layer]; };
    EXPECT_EQ(lights(1), (std::vector<IEntity*>{far, sun}));
    EXPECT_EQ(lights(6), (std::vector<IEntity*>{sun}));
    (void)dim;
}

class LetterBoxedDrawing : public Drawing
{
protected:
    void SetUp() override { Open("[Game Settings]\nWindow_Fullscreen=1\n"); }
};

TEST_F(LetterBoxedDrawing, ThePictureKeepsItsEdgesInsideTheBars)
{
    const Window& w = *engine->window;
    ASSERT_TRUE(w.viewportX > 0 || w.viewportY > 0) << "the offscreen desktop is not 16:9";
    Sprite(0, 540 - 30, 0, 60, 0, {1, 0, 0, 1});  // along the top edge of the view
    Sprite(0, -540 + 30, 0, 60, 0, {0, 1, 0, 1}); // along the bottom edge
    Frame();
    EXPECT_EQ(At(0, 540 - 10), (RGB{255, 0, 0}));
    EXPECT_EQ(At(0, -540 + 10), (RGB{0, 255, 0}));
    // Nothing is drawn into the bars.
    std::array<uint8_t, 4> bar{};
    glReadPixels(w.viewportX + w.viewportWidth / 2, w.viewportY + w.viewportHeight + 2, 1, 1, GL_RGBA,
                 GL_UNSIGNED_BYTE, bar.data());
    EXPECT_EQ(bar[0], 0);
}

} // namespace Varn::Test
