// Batched sprites and UI elements against ones drawn one at a time: the same busy picture, every
// pixel.
#include "support/DrawingTest.h"

#include "ecs/Light.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "graphics/LayerFramebuffers.h"
#include "graphics/ParticleSystem.h"
#include "graphics/UIGraphicsSystem.h"
#include "resource/BuiltinShaders.h"

#include <cmath>
#include <cstdlib>

namespace Varn::Test
{

namespace
{

class SpriteBatching : public Drawing
{
protected:
    void SetUp() override { Open("[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=480\n"); }

    IEntity* Textured(const char* texture, float x, float y, float z, float scale, uint32_t layer)
    {
        IEntity* e = Sprite(x, y, z, 32.0f * scale, layer, {1, 1, 1, 1});
        e->GetComponent<SpriteRenderer>()->texture = engine->resources->LoadTexture(texture);
        return e;
    }

    IEntity* Lamp(float x, float y, uint32_t layer, bool global, VarnColor colour)
    {
        IEntity* e = engine->entities->CreateEntity("Lamp");
        e->AddComponent<Transform>()->position = {x, y, 0, 0};
        auto* light = e->AddComponent<ECS::Light>();
        light->UseDefaults(engine->services);
        light->lightColor = colour;
        light->ambient = 2.0f;
        light->isGlobal = global;
        e->layer = layer;
        CurrentScene().AddEntity(e);
        return e;
    }

    void Emitter(float x, float y, float z, uint32_t layer)
    {
        IEntity* e = engine->entities->CreateEntity("Sparks");
        e->AddComponent<Transform>()->position = {x, y, z, 0};
        auto* emitter = e->AddComponent<ECS::ParticleEmitter>();
        emitter->UseDefaults(engine->services);
        emitter->count = 24;
        emitter->emissionTimer = 1e9f; // the pool stays as filled here
        emitter->particles.assign(24, {});
        for (int p = 0; p < 24; ++p)
        {
            ECS::ParticleCell& cell = emitter->particles[static_cast<std::size_t>(p)].second;
            const float a = static_cast<float>(p) * 0.2618f;
            cell.alive = true;
            cell.life = 1e9f;
            cell.position = {x + 90.0f * std::cos(a), y + 90.0f * std::sin(a), z, 0};
            cell.scale = {0.6f, 0.6f, 1, 0};
            cell.color = {1.0f, 0.5f, 0.2f, 0.8f};
        }
        e->layer = layer;
        CurrentScene().AddEntity(e);
    }

    IEntity* Image(const char* texture, float x, float y, float z, float scale)
    {
        IEntity* e = engine->entities->CreateEntity("Image");
        Transform* t = e->AddComponent<Transform>();
        t->position = {x, y, z, 0};
        t->scale = {scale, scale, 1, 0};
        auto* image = e->AddComponent<ECS::UIImage>();
        image->UseDefaults(engine->services);
        image->texture = engine->resources->LoadTexture(texture);
        CurrentScene().AddEntity(e);
        return e;
    }

    // The UI over the composited world, as a frame draws it.
    void FrameWithUI()
    {
        Frame();
        CurrentScene().uiGraphicsSystem->Update(0.0f);
    }

    // Every channel of the two pictures within one step of the other.
    static void ExpectAlike(const std::vector<uint8_t>& batched, const std::vector<uint8_t>& single)
    {
        ASSERT_EQ(batched.size(), single.size());
        std::size_t differing = 0;
        int worst = 0;
        for (std::size_t i = 0; i < batched.size(); ++i)
        {
            const int d = std::abs(static_cast<int>(batched[i]) - static_cast<int>(single[i]));
            worst = std::max(worst, d);
            differing += d != 0 ? 1 : 0;
        }
        EXPECT_LE(worst, 1) << differing << " channel values differ";
    }

    std::vector<uint8_t> Picture()
    {
        const Window& w = *engine->window;
        std::vector<uint8_t> rgba(static_cast<std::size_t>(w.viewportWidth) *
                                  static_cast<std::size_t>(w.viewportHeight) * 4);
        glReadPixels(w.viewportX, w.viewportY, w.viewportWidth, w.viewportHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba.data());
        return rgba;
    }
};

} // namespace

TEST_F(SpriteBatching, ABusySceneAndItsUIDrawTheSamePixelsBatchedAndOneSpriteAtATime)
{
    // Layer 0: a lit background and overlapping half-transparent crates, some at equal depth,
    // whose order decides the blend.
    Textured("Resources\\Sprites\\Backgrounds\\mountains.png", 0, 0, -5, 60.0f, 0)
        ->GetComponent<SpriteRenderer>()
        ->tint = {0.6f, 0.7f, 0.9f, 1};
    for (int i = 0; i < 12; ++i)
    {
        IEntity* crate =
            Textured("Resources\\Sprites\\Tiles\\crate.png", -700.0f + 110.0f * static_cast<float>(i),
                     -200.0f + 25.0f * static_cast<float>(i % 3), static_cast<float>(i % 2), 4.0f, 0);
        crate->GetComponent<SpriteRenderer>()->opacity = 0.55f;
        crate->GetComponent<SpriteRenderer>()->tint = {1.0f, 0.2f * static_cast<float>(i % 5), 0.8f, 1};
    }
    Lamp(-300, -150, 0, false, {1.0f, 0.8f, 0.4f, 1});

    // Layer 1: sheet cells, flips and turns, an unlit sprite, particles between two sprites of
    // one texture, and a sprite whose program is not the built-in one.
    auto* hero = Textured("Resources\\Sprites\\Player\\player.png", -200, 150, 0, 5.0f, 1);
    auto* heroSprite = hero->GetComponent<SpriteRenderer>();
    heroSprite->mesh = engine->resources->GetMesh("sheet8x4", 8, 4);
    heroSprite->texOffset = {3.0f / 8.0f, 1.0f / 4.0f};
    hero->GetComponent<Transform>()->flipX = true;
    auto* turned = Textured("Resources\\Sprites\\Items\\gem.png", 250, 120, 1, 6.0f, 1);
    turned->GetComponent<Transform>()->angle = {0, 0, 30, 0};
    turned->GetComponent<Transform>()->flipY = true;
    Textured("Resources\\Sprites\\Items\\heart.png", 400, -100, 2, 5.0f, 1)
        ->GetComponent<SpriteRenderer>()
        ->receiveLight = false;
    Emitter(420, -100, 3, 1);
    Textured("Resources\\Sprites\\Items\\heart.png", 480, -60, 4, 5.0f, 1);
    auto* own = Textured("Resources\\Sprites\\Items\\heart.png", 540, -20, 5, 5.0f, 1);
    own->GetComponent<SpriteRenderer>()->shader =
        engine->resources->CreateShader(Resource::BuiltinShaders::SPRITE_VERTEX,
                                        Resource::BuiltinShaders::SPRITE_FRAGMENT, nullptr, "ownProgram");
    Textured("Resources\\Sprites\\Items\\heart.png", 600, 20, 6, 5.0f, 1);
    Lamp(200, 100, 1, false, {0.3f, 0.6f, 1.0f, 1});
    Lamp(0, 0, 7, true, {0.2f, 0.2f, 0.2f, 1}); // global: every layer

    // Layers 2 and 3: blurred and dimmed.
    Textured("Resources\\Sprites\\Tiles\\spikes.png", -500, 300, 0, 6.0f, 2);
    Textured("Resources\\Sprites\\Tiles\\wall.png", 600, 300, 0, 6.0f, 3);
    engine->layerFramebuffers->Get(2)->ApplyEffect(Graphics::LAYER_EFFECT::BLUR);
    engine->layerFramebuffers->Get(3)->ApplyEffect(Graphics::LAYER_EFFECT::DIM);
    CurrentScene().particleSystem->Update(0.0f); // the particles' model matrices

    // The UI over it: overlapping half-transparent icons of two textures, tints, a sheet cell, a
    // button, and an element with its own program in between.
    for (int i = 0; i < 10; ++i)
    {
        IEntity* heart =
            Image(i % 3 == 2 ? "Resources\\Sprites\\Items\\gem.png" : "Resources\\Sprites\\Items\\heart.png",
                  -400.0f + 70.0f * static_cast<float>(i), 200.0f + 20.0f * static_cast<float>(i % 2),
                  static_cast<float>(i % 4), 3.0f);
        auto* image = heart->GetComponent<ECS::UIImage>();
        image->opacity = 0.6f;
        image->tint = {1.0f, 0.25f * static_cast<float>(i % 4), 0.7f, 1};
    }
    IEntity* sheet = Image("Resources\\Sprites\\Player\\player.png", -200, -100, 5, 4.0f);
    sheet->GetComponent<ECS::UIImage>()->mesh = engine->resources->GetMesh("sheet8x4", 8, 4);
    sheet->GetComponent<ECS::UIImage>()->texOffset = {2.0f / 8.0f, 3.0f / 4.0f};
    Image("Resources\\Sprites\\Items\\heart.png", 100, -100, 6, 5.0f)->GetComponent<ECS::UIImage>()->shader =
        engine->resources->CreateShader(Resource::BuiltinShaders::SPRITE_VERTEX,
                                        Resource::BuiltinShaders::SPRITE_FRAGMENT, nullptr, "ownUIProgram");
    Image("Resources\\Sprites\\Items\\heart.png", 140, -80, 7, 5.0f);
    IEntity* button = engine->entities->CreateEntity("Button");
    button->AddComponent<Transform>()->position = {300, -200, 8, 0};
    button->GetComponent<Transform>()->scale = {4, 2, 1, 0};
    auto* ui = button->AddComponent<ECS::UIButton>();
    ui->UseDefaults(engine->services);
    ui->opacity = 0.8f;
    CurrentScene().AddEntity(button);

    auto& uiSystem = *CurrentScene().uiGraphicsSystem;
    FrameWithUI();
    const std::vector<uint8_t> batched = Picture();
    const std::size_t runs = Graphics().batchedRuns, uiRuns = uiSystem.batchedRuns;
    const Vector4 buttonSize = button->GetComponent<Transform>()->worldScale;
    Graphics().batching = false;
    uiSystem.batching = false;
    FrameWithUI();
    const std::vector<uint8_t> single = Picture();
    EXPECT_EQ(Graphics().batchedRuns, 0u);
    EXPECT_EQ(uiSystem.batchedRuns, 0u);

    // 12 crates and the background share two textures; a run breaks at the particles and at
    // the sprite with its own program. In the UI, hearts and gems alternate in depth order and
    // the element with its own program cuts a run.
    EXPECT_GT(runs, 0u) << "the batched path drew";
    EXPECT_LE(runs, 12u);
    EXPECT_GT(uiRuns, 1u) << "the batched UI path drew";
    EXPECT_LT(uiRuns, 13u);
    EXPECT_EQ(button->GetComponent<Transform>()->worldScale, buttonSize)
        << "what the cursor is tested against";
    ExpectAlike(batched, single);
    std::size_t lit = 0;
    for (std::size_t i = 0; i < single.size(); ++i)
    {
        lit += single[i] > 8 && i % 4 != 3 ? 1 : 0;
    }
    EXPECT_GT(lit, single.size() / 4) << "the picture is busy, not black";
}

} // namespace Varn::Test
