#include "script/ScriptTestSupport.h"

#include "ecs/Animator.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/UIText.h"
#include "graphics/LayerFramebuffer.h"
#include "graphics/LayerFramebuffers.h"
#include "resource/AudioManager.h"
#include "resource/Texture2D.h"

#include <SDL_mixer.h>

#include <chrono>
#include <thread>

namespace Varn::Test
{

using ECS::Animator;

// Actions on what is seen and heard: animation, sprites, particles, layers, UI and sound.
using LookActions = ScriptTest;
using WindowedLookActions = WindowedScriptTest;

namespace
{
const std::string TONE = std::string(CORVALUNE_SOURCE_DIR) + "/tests/resource/data/tone.ogg"; // 0.25 s

void WithAnimator(ECS::IEntity* e)
{
    auto* animator = e->AddComponent<Animator>();
    animator->animationList = {{0, 3, "Idle", true}, {8, 13, "Jump Start", false}};
    animator->SetAnimation("Idle");
}
} // namespace

TEST_F(LookActions, AnimationNamesAndTextsJoinTheirWordsDroppingRepeatsOfTheFirstAndPlayRestartsTheRun)
{
    Animator& animator =
        *Once("Hero", "SetAnimation Jump Start Jump", "", WithAnimator)->GetComponent<Animator>();
    ASSERT_NE(animator.currentAnimation, nullptr);
    EXPECT_EQ(animator.currentAnimation->name, "Jump Start") << "the repeated first word is left out";

    ECS::IEntity* player = Compiled("Player", "[Event] True\n[Action]\nPlayAnimation\n[End]");
    WithAnimator(player);
    ECS::Animation& idle = *player->GetComponent<Animator>()->currentAnimation;
    idle.currentFrame = 2;
    Step(2); // the first step runs only Initialize events
    EXPECT_EQ(idle.currentFrame, 0);

    Once("Statue", "SetAnimation Idle");
    EXPECT_EQ(Log().back(), "Missing Animator component in Statue.");

    auto text = [this](const std::string& name, const std::string& actions)
    {
        return Once(name, actions, "", [](ECS::IEntity* e) { e->AddComponent<ECS::UIText>(); })
            ->GetComponent<ECS::UIText>()
            ->text;
    };
    EXPECT_EQ(text("Greeting", "SetText Hello World"), "Hello World");
    EXPECT_EQ(text("Starter", "SetText Go Go"), "Go");
    EXPECT_EQ(text("Chant", "SetText Go Team Go Team"), "Go Team Team");
    Once("Blank", "SetText Hello");
    EXPECT_EQ(Log().back(), "Missing UIText component in Blank.");
}

TEST_F(LookActions, ParticlePrefabsTurnEveryEmitterOrSayTheyHaveNone)
{
    const std::string sparks = scratch.Write(
        "sparks.prefab",
        R"([{"ID":"Sparks","ID Type":0,"Current Parent ID":1,"Transform":{},"Particle Emitter":{"Direction":10}},)"
        R"({"ID":"Embers","ID Type":0,"Parent ID":1,"Current Parent ID":2,"Transform":{},)"
        R"("Particle Emitter":{"Direction":-5}}])");
    const std::string rock = scratch.Write("rock.prefab", R"([{"ID":"Rock","ID Type":0,"Transform":{}}])");
    Once("Gun", "CreateParticle " + sparks + " 1 2 0 90");
    ECS::IEntity* root = ECS::EntityManager::FindByName(CurrentScene().entities, "Sparks");
    ECS::IEntity* child = ECS::EntityManager::FindByName(CurrentScene().entities, "Embers");
    ASSERT_NE(root, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(root->GetComponent<ECS::ParticleEmitter>()->direction, 100.0f);
    EXPECT_EQ(child->GetComponent<ECS::ParticleEmitter>()->direction, 85.0f);
    EXPECT_EQ(root->GetComponent<ECS::Transform>()->position.y, 2.0f);

    Once("Thrower", "CreateParticle " + rock + " ignored");
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "Not a particle, but spawned anyways."), 1);
    EXPECT_NE(ECS::EntityManager::FindByName(CurrentScene().entities, "Rock"), nullptr);
}

TEST_F(WindowedLookActions, LayerEffectsDimBlurAndResetWhileSpritesLoadTheirTexture)
{
    const auto* plain = engine->resources->FindShader(Resource::ResourceManager::FBO_SHADER);
    const auto* blur = engine->resources->FindShader(Resource::ResourceManager::FBO_BLUR_SHADER);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(blur, nullptr);

    Once("Dimmer", "BlurLayer 2 true");
    const Graphics::LayerFramebuffer& layer = *engine->layerFramebuffers->Get(2);
    EXPECT_EQ(layer.tint, (VarnColor{0.6f, 0.6f, 0.6f, 1.0f}));
    EXPECT_EQ(layer.shader, plain) << "dimming does not blur";
    Once("Blurrer", "BlurLayer 2.7 false");
    EXPECT_EQ(layer.tint, (VarnColor{1.0f, 1.0f, 1.0f, 0.5f}));
    EXPECT_EQ(layer.shader, blur);
    Once("Resetter", "ResetLayerEffect 2");
    EXPECT_EQ(layer.tint, (VarnColor{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(layer.shader, plain);

    const std::string path = std::string(CORVALUNE_SOURCE_DIR) + "/Resources/Sprites/basicParticleSprite.dds";
    ECS::IEntity* e = Once("Painted", "SetSprite " + path, "",
                           [](ECS::IEntity* entity) { entity->AddComponent<ECS::SpriteRenderer>(); });
    const Resource::Texture2D* texture = e->GetComponent<ECS::SpriteRenderer>()->texture;
    EXPECT_EQ(texture, engine->resources->GetTexture(path));
    EXPECT_NE(texture->textureId, 0u) << "decoded and uploaded at once";
    EXPECT_EQ(texture->width, 32);
}

TEST_F(LookActions, ALoopingSoundPlaysUntilStoppedOrASceneLoad)
{
    Resource::AudioManager& audio = *engine->audio;
    ASSERT_TRUE(audio.IsOpen());
    Once("Jukebox", "PlaySound " + TONE + " false true false\nPlaySound " + TONE + " true false false");
    EXPECT_EQ(audio.PlayingCount(false), 1);
    EXPECT_EQ(audio.PlayingCount(true), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(600)); // the tone lasts 0.25 s
    audio.Update(0.6);
    EXPECT_EQ(audio.PlayingCount(false), 1) << "the looping one goes on";
    EXPECT_EQ(audio.PlayingCount(true), 0);

    Once("Music", "PlaySound " + TONE + " true true false");
    EXPECT_EQ(audio.PlayingCount(true), 1);
    Once("Silencer", "StopSound anything");
    EXPECT_EQ(audio.PlayingCount(false), 0);
    EXPECT_EQ(audio.PlayingCount(true), 0);
    EXPECT_EQ(Mix_Playing(-1), 0) << "looping music stops too";

    Once("Again", "PlaySound " + TONE + " true true true\nLoadScene elsewhere.scene");
    EXPECT_EQ(audio.PlayingCount(true), 0) << "a scene request stops every sound";
}

} // namespace Varn::Test
