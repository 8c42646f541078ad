#include "script/ScriptTestSupport.h"

#include "ecs/Animator.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/SpriteRenderer.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/LayerFramebuffer.h"
#include "resource/Texture2D.h"
#include "scene/JSONManager.h"

#include <algorithm>

namespace Varn::Test
{

using Component::Animator;
using Component::SpriteRenderer;

using LookActions = ScriptTest;
using WindowedLookActions = WindowedScriptTest;

namespace
{
void WithAnimator(ECS::IEntity* e)
{
    auto* animator = e->AddComponent<Animator>();
    animator->animationList = {{0, 3, "Idle", true}, {8, 13, "Jump Start", false}};
    animator->SetAnimation("Idle");
}
} // namespace

TEST_F(LookActions, AnimationNamesJoinTheirWordsAndPlayRestartsTheRun)
{
    Animator& animator =
        *RunOnce("Hero", "SetAnimation Jump Start Jump\nSetAnimationSpeed 0.25", WithAnimator)
             ->GetComponent<Animator>();
    ASSERT_NE(animator.currentAnimation, nullptr);
    EXPECT_EQ(animator.currentAnimation->name, "Jump Start") << "the repeated first word is left out";
    EXPECT_EQ(animator.secondsPerFrame, 0.25f);

    ECS::IEntity* player = Compiled("Player", "[Event] True\n[Action]\nPlayAnimation\n[End]");
    WithAnimator(player);
    Animation& idle = *player->GetComponent<Animator>()->currentAnimation;
    idle.currentFrame = 2;
    Step(2); // the first step runs only Initialize events
    EXPECT_EQ(idle.currentFrame, 0);

    RunOnce("Statue", "SetAnimation Idle");
    EXPECT_EQ(Log().back(), "Missing Animator component in Statue.");
    RunOnce("Mute", "SetAnimation");
    EXPECT_EQ(Log().back(), "Invalid SetAnimation parameters in Mute.");
}

TEST_F(LookActions, SpriteTintOpacityAndFlips)
{
    ECS::IEntity* e = RunOnce("Ghost",
                              "SetTint 1 0.5 0 1\nSetOpacity 0.25\nFlipX true\nFlipY 1\nSetMesh NoSuchMesh\n"
                              "SetOpacity 1",
                              [](ECS::IEntity* entity) { entity->AddComponent<SpriteRenderer>(); });
    const SpriteRenderer& renderer = *e->GetComponent<SpriteRenderer>();
    EXPECT_EQ(renderer.tint.g, 0.5f);
    EXPECT_EQ(renderer.opacity, 0.25f) << "an unknown mesh stops the script before the last line";
    EXPECT_TRUE(e->GetComponent<Component::Transform>()->flipX);
    EXPECT_TRUE(e->GetComponent<Component::Transform>()->flipY);
    EXPECT_EQ(Log().back(), "Something is wrong with Ghost");

    ECS::IEntity* flipper = RunOnce("Flipper", "FlipX true\nSetTint 1 1 1 1");
    EXPECT_TRUE(flipper->GetComponent<Component::Transform>()->flipX) << "flips need no renderer";
    EXPECT_EQ(Log().back(), "Missing SpriteRenderer component in Flipper.");
}

TEST_F(LookActions, ParticlePrefabsTurnEveryEmitterOrSayTheyHaveNone)
{
    const std::string sparks = scratch.Write(
        "sparks.prefab",
        R"([{"ID":"Sparks","ID Type":0,"Current Parent ID":1,"Transform":{},"Particle Emitter":{"Direction":10}},)"
        R"({"ID":"Embers","ID Type":0,"Parent ID":1,"Current Parent ID":2,"Transform":{},)"
        R"("Particle Emitter":{"Direction":-5}}])");
    const std::string rock = scratch.Write("rock.prefab", R"([{"ID":"Rock","ID Type":0,"Transform":{}}])");
    RunOnce("Gun", "CreateParticle " + sparks + " 1 2 0 90");
    ECS::IEntity* root = ECS::EntityManager::FindByName(CurrentScene().entities, "Sparks");
    ECS::IEntity* child = ECS::EntityManager::FindByName(CurrentScene().entities, "Embers");
    ASSERT_NE(root, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(root->GetComponent<Component::ParticleEmitter>()->direction, 100.0f);
    EXPECT_EQ(child->GetComponent<Component::ParticleEmitter>()->direction, 85.0f);
    EXPECT_EQ(root->GetComponent<Component::Transform>()->position.y, 2.0f);

    const std::string notParticle = "Not a particle, but spawned anyways.";
    EXPECT_EQ(std::count(Log().begin(), Log().end(), notParticle), 0);
    RunOnce("Thrower", "CreateParticle " + rock + " ignored");
    EXPECT_EQ(std::count(Log().begin(), Log().end(), notParticle), 1);
    EXPECT_NE(ECS::EntityManager::FindByName(CurrentScene().entities, "Rock"), nullptr);

    RunOnce("Lamp", "SetLighting false");
    EXPECT_FALSE(CurrentScene().graphicsSystem->lightingEnabled);
}

TEST_F(WindowedLookActions, LayerEffectsDimBlurAndResetWhileSpritesLoadTheirTexture)
{
    const auto* plain = engine->resources->FindShader(System::ResourceManager::FBO_SHADER);
    const auto* blur = engine->resources->FindShader(System::ResourceManager::FBO_BLUR_SHADER);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(blur, nullptr);

    RunOnce("Dimmer", "BlurLayer 2 true");
    const Graphics::LayerFramebuffer& layer = *engine->GetLayerFramebuffer(2);
    EXPECT_EQ(layer.tint, (Helper::VarnColor{0.6f, 0.6f, 0.6f, 1.0f}));
    EXPECT_EQ(layer.shader, plain) << "dimming does not blur";
    RunOnce("Blurrer", "BlurLayer 2.7 false");
    EXPECT_EQ(layer.tint, (Helper::VarnColor{1.0f, 1.0f, 1.0f, 0.5f}));
    EXPECT_EQ(layer.shader, blur);
    RunOnce("Resetter", "ResetLayerEffect 2");
    EXPECT_EQ(layer.tint, (Helper::VarnColor{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(layer.shader, plain);

    const std::string path = std::string(CORVALUNE_SOURCE_DIR) + "/Resources/Sprites/basicParticleSprite.dds";
    ECS::IEntity* e = RunOnce("Painted", "SetSprite " + path,
                              [](ECS::IEntity* entity) { entity->AddComponent<SpriteRenderer>(); });
    const Resource::Texture2D* texture = e->GetComponent<SpriteRenderer>()->texture;
    EXPECT_EQ(texture, engine->resources->GetTexture(path));
    EXPECT_NE(texture->textureId, 0u) << "decoded and uploaded at once";
    EXPECT_EQ(texture->width, 32);
}

} // namespace Varn::Test
