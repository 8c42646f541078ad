#include "support/DrawingTest.h"

#include "ecs/Camera.h"
#include "ecs/Light.h"
#include "ecs/ParticleEmitter.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/LayerFramebuffers.h"
#include "scene/JSONManager.h"

namespace Varn::Test
{

using ECS::IEntity;
using ECS::SpriteRenderer;
using ECS::Transform;

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
    for (const auto& record : engine->layerFramebuffers->records)
    {
        EXPECT_FALSE(record.used) << "records are released at the end of the frame";
    }
}

TEST_F(Drawing, LightsBrightenLitSpritesOnlyWhileLightingIsOn)
{
    IEntity* sprite = Sprite(0, 0, 0, 300, 0, {0.25f, 0.25f, 0.25f, 1});
    IEntity* lamp = engine->entities->CreateEntity("Lamp");
    lamp->AddComponent<Transform>();
    auto* light = lamp->AddComponent<ECS::Light>();
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

TEST_F(Drawing, CullingDecidesListMembership)
{
    IEntity* left = Sprite(-960 - 61, 0, 0, 120, 0, {1, 1, 1, 1});     // ends just left of the view
    IEntity* touching = Sprite(-960 - 60, 0, 0, 120, 0, {1, 1, 1, 1}); // its right edge on the view's
    IEntity* mirrored = Sprite(-960 - 50, 0, 0, 120, 0, {1, 1, 1, 1}); // a negative scale, half in view
    mirrored->GetComponent<Transform>()->scale.x *= -1.0f;
    IEntity* hidden = Sprite(0, 0, 0, 100, 0, {1, 1, 1, 1});
    hidden->GetComponent<SpriteRenderer>()->visible = false;
    hidden->AddComponent<ECS::ParticleEmitter>();
    CurrentScene().AddEntity(hidden);
    IEntity* smoke = Sprite(5000, 0, 0, 100, 0, {1, 1, 1, 1}); // sprite culled, emitter still drawn
    smoke->AddComponent<ECS::ParticleEmitter>();
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
    EXPECT_TRUE(Listed(mirrored, 0));
    EXPECT_FALSE(Listed(hidden, 0));
    EXPECT_TRUE(Listed(smoke, 0));
    EXPECT_FALSE(Listed(elsewhere, 0));
    EXPECT_TRUE(Listed(everywhere, 0));
    EXPECT_FLOAT_EQ(left->GetComponent<Transform>()->worldScale.x, 120.0f) << "sizes are written for physics";
}

TEST_F(Drawing, BlurAndDimOutliveASceneLoadUntilReset)
{
    const std::string scene =
        folder.Write("blurred.scene",
                     R"([{"ID":"Cam","ID Type":0,"Transform":{},"Camera":{}},)"
                     R"({"ID":"Box","ID Type":0,"Layer":2,"Transform":{"Scale":{"X":10,"Y":10,"Z":1,"W":0}},)"
                     R"("Sprite Renderer":{"Texture":"Resources\\Sprites\\basicSprite.dds"}}])");
    engine->jsonManager->LoadScene(scene, false);
    Frame();
    const float edge = 160.0f; // the box is 320 units wide
    EXPECT_EQ(At(0, 0), (RGB{255, 255, 255}));
    EXPECT_EQ(At(edge + 9, 0), (RGB{0, 0, 0}));

    engine->layerFramebuffers->Get(2)->ApplyEffect(Graphics::LAYER_EFFECT::BLUR);
    engine->jsonManager->LoadScene(scene, false);
    Frame();
    EXPECT_GT(At(edge + 9, 0)[0], 20) << "the blur spreads the box past its edge";

    engine->layerFramebuffers->Get(2)->ApplyEffect(Graphics::LAYER_EFFECT::DIM);
    engine->jsonManager->LoadScene(scene, false);
    Frame();
    EXPECT_NEAR(At(0, 0)[0], 153, 1);

    engine->layerFramebuffers->Get(2)->ApplyEffect(Graphics::LAYER_EFFECT::RESET);
    Frame();
    EXPECT_EQ(At(0, 0), (RGB{255, 255, 255}));
    EXPECT_EQ(At(edge + 9, 0), (RGB{0, 0, 0}));
}

TEST_F(Drawing, ALayerTouchedOnlyForItsEffectShowsNothingOfAnEarlierFrame)
{
    Sprite(0, 0, 0, 300, 0, {0, 0, 1, 1}); // a lower layer, so layer 2 has a framebuffer
    IEntity* box = Sprite(300, 0, 0, 120, 2, {1, 0, 0, 1});
    Frame();
    EXPECT_EQ(At(300, 0), (RGB{255, 0, 0}));
    box->GetComponent<SpriteRenderer>()->visible = false;
    engine->layerFramebuffers->Get(2)->ApplyEffect(Graphics::LAYER_EFFECT::DIM);
    Frame();
    EXPECT_EQ(At(300, 0), (RGB{0, 0, 0})) << "last frame's box stays in the framebuffer, unshown";
    EXPECT_EQ(At(0, 0), (RGB{0, 0, 255}));
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
    engine->window->clearColour = {0, 0, 1, 1};
    Frame();
    EXPECT_EQ(At(0, 540 - 10), (RGB{255, 0, 0}));
    EXPECT_EQ(At(0, -540 + 10), (RGB{0, 255, 0}));
    EXPECT_EQ(At(300, 0), (RGB{0, 0, 255})) << "the window's colour behind the picture";
    // Nothing is drawn into the bars, not even the window's colour.
    std::array<uint8_t, 4> bar{};
    glReadPixels(w.viewportX + w.viewportWidth / 2, w.viewportY + w.viewportHeight + 2, 1, 1, GL_RGBA,
                 GL_UNSIGNED_BYTE, bar.data());
    EXPECT_EQ(bar[0], 0);
    EXPECT_EQ(bar[2], 0);
}

} // namespace Varn::Test
