// ORIN actions: on entities and scenes, on what is seen and heard, on movement, and on
// variables and flow.
#include "script/ScriptTestSupport.h"

#include "core/Random.h"
#include "ecs/Animator.h"
#include "ecs/Camera.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/RigidBody.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/UIText.h"
#include "graphics/LayerFramebuffer.h"
#include "graphics/LayerFramebuffers.h"
#include "resource/AudioManager.h"
#include "resource/Texture2D.h"
#include "scene/JSONManager.h"

#include <SDL_mixer.h>

#include <chrono>
#include <thread>

namespace Varn::Test
{

// Actions on entities and scenes: kills, hierarchy, prefabs, scene loads and quitting.
using EntityActions = ScriptTest;

// A kill takes the descendants with it at the step's end; layers reach the descendants while
// activity and rooms stay on their entity; parent links are made by id or reference, never in a
// loop.
TEST_F(EntityActions, KillsLayersActivityRoomsAndParentsFollowTheHierarchyAndExitGameTakesNoParameters)
{
    ECS::IEntity* child = Make("Child");
    ECS::IEntity* e = Compiled("Goner", "[Event] Initialize\n[Action]\nKill\nSetPosition 7 0 0\n"
                                        "Print #self_trans_lpos_x\n[End]");
    child->parent = e;
    Step();
    EXPECT_EQ(Log(), (Strings{"7.000000 "})) << "it still moves before it goes";
    EXPECT_FALSE(InScene(e));
    EXPECT_FALSE(InScene(child)) << "descendants go with it";
    EXPECT_FALSE(InScene(Once("Oof", "Oof ignored")));

    child = Make("Child");
    ECS::IEntity* grandchild = Make("Grandchild");
    e = Compiled("Hero",
                 "[Event] Initialize\n[Action]\nSetLayer 3.9\nSetRoom 2\nSetActiveChildren false\n[End]");
    child->parent = e;
    grandchild->parent = child;
    Step();
    EXPECT_EQ(e->layer, 3u);
    EXPECT_EQ(grandchild->layer, 3u);
    EXPECT_EQ(e->room, 2u);
    EXPECT_EQ(child->room, 0u);
    EXPECT_TRUE(e->gameObjectActive);
    EXPECT_FALSE(child->gameObjectActive);
    EXPECT_FALSE(grandchild->gameObjectActive);

    ECS::IEntity* box = Make("Box");
    ECS::IEntity* owner = Once("Owner", "AttachChild " + std::to_string(box->id));
    EXPECT_EQ(box->parent, owner);
    Once("Linker", "SetParent #entBox #entOwner");
    EXPECT_EQ(owner->parent, nullptr) << "Box under Owner under Box would close a loop";
    EXPECT_EQ(Said().back(), "Something is wrong with Linker");
    Once("Loose", "SetParent 99999");
    EXPECT_EQ(Said().back(), "Something is wrong with Loose");
    EXPECT_EQ(Once("Detached", "SetParent #entBox\nDetachParent")->parent, nullptr);

    // ExitGame stops the scene and the window, and takes no parameters.
    Once("Quitter", "ExitGame now");
    EXPECT_EQ(Log().back(), "Invalid ExitGame parameters in Quitter.");
    EXPECT_TRUE(engine->window->running);
    Once("Hero", "ExitGame");
    EXPECT_EQ(Log().back(), "You just got *wanking* Pranked bro!");
    EXPECT_FALSE(CurrentScene().playing);
    EXPECT_FALSE(engine->window->running);
}

TEST_F(EntityActions, CreatePrefabPlacesTurnsLayersAndStoresTheNewEntity)
{
    const std::string path =
        scratch.Write("bat.prefab", R"([{"ID":"Bat","ID Type":0,"Current Parent ID":1,"Transform":{}}])");
    ECS::IEntity* e = Once("Hero", "CreatePrefab " + path + " 1 2 3 45 6 #entbat\nPrint #entbat", "ent bat");
    ECS::IEntity* bat = Script(e).entityList.at("bat");
    ASSERT_NE(bat, nullptr);
    EXPECT_EQ(bat->GetComponent<ECS::Transform>()->position, (Vector4{1, 2, 3, 0}));
    EXPECT_EQ(bat->GetComponent<ECS::Transform>()->angle, (Vector4{0, 0, 45, 0}));
    EXPECT_EQ(bat->layer, 6u);
    EXPECT_EQ(Log().back(), "Bat ");

    ECS::IEntity* spawner =
        Compiled("Spawner", "[Event] Initialize\n[Action]\nCreatePrefab " + path + " x\n[End]");
    spawner->GetComponent<ECS::Transform>()->position = {8, 9, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    bat->name = "Old bat";
    Step();
    ASSERT_NE(Find("Bat"), nullptr);
    EXPECT_EQ(Get("Bat")->GetComponent<ECS::Transform>()->position.x, 8.0f) << "at the spawner";
    EXPECT_EQ(Get("Bat")->GetComponent<ECS::Transform>()->position.y, 9.0f);
}

TEST_F(EntityActions, TheLastSceneRequestOfAStepIsTheOnlyOneLoadedAndTheOldScenesKillsSpareTheNew)
{
    const std::string missing = scratch.Path("missing.scene");
    const std::string real = scratch.Write("real.scene", R"([{"ID":"Arrived","ID Type":0,"Transform":{}}])");
    Once("Hero", "LoadScene " + missing + "\nLoadScene " + real);
    EXPECT_EQ(CurrentScene().name, real);
    EXPECT_NE(Find("Arrived"), nullptr);
    EXPECT_EQ(Find("Hero"), nullptr);
    EXPECT_FALSE(Scripts().sceneRequested);
    EXPECT_FALSE(Scripts().showLoadingFrames);

    ECS::IEntity* e = Once("Loader", "LoadScene " + missing + "\nLoadSceneSynchro " + real);
    EXPECT_TRUE(Scripts().showLoadingFrames);
    while (engine->jsonManager->scenes.Busy())
    {
        engine->Update(); // loading frames
    }
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "Error: Load Failed. Scene is Invalid"), 0)
        << "the first requests were never loaded";
    EXPECT_TRUE(e->components.empty()) << "the old scene's entities went back to the pool";

    // The old scene's kills come after the switch and spare the new entities.
    const std::string next = scratch.Write(
        "next.scene", R"([{"ID":"A","ID Type":0,"Transform":{}},{"ID":"B","ID Type":0,"Transform":{}}])");
    Once("Killer", "Kill\nLoadScene " + next);
    EXPECT_NE(Find("A"), nullptr);
    EXPECT_NE(Find("B"), nullptr);
    EXPECT_TRUE(Scripts().killList.empty());
}

TEST_F(EntityActions, ALoadWithLoadingFramesRunsTheOldSceneBetweenItsSlicesAndKillsAfterTheSwitch)
{
    std::string text = "[";
    for (int i = 0; i < 45; ++i)
    {
        text += std::string(i ? "," : "") + R"({"ID":"New)" + std::to_string(i) +
                R"(","ID Type":0,"Transform":{}})";
    }
    const std::string next = scratch.Write("next.scene", text + "]");
    // Slow loading work: a loading frame falls due at the 20th and the 40th entity.
    SteppingClock slowWork;
    slowWork.step = Scene::SceneLoader::LOADING_FRAME_INTERVAL;
    engine->timer->SetClock(&slowWork);
    ECS::IEntity* screen =
        Compiled("Screen", "[Event] Initialize\n[Action]\nLoadSceneSynchro " + next +
                               "\n[End]\n[Event] True\n[Action]\nPrint #load_current\nKill\n[End]");
    Step();
    // The step stopped at the switch, with 20 entities read: the old scene is still there.
    EXPECT_TRUE(engine->jsonManager->scenes.Busy());
    EXPECT_EQ(engine->jsonManager->loading.progress, 20);
    EXPECT_TRUE(InScene(screen));
    EXPECT_EQ(Find("New0"), nullptr);

    // The next frame loads up to the 40th entity, then runs the old scene's steps, whose
    // kills wait for the switch.
    engine->Update();
    ASSERT_GE(Log().size(), 1u);
    EXPECT_EQ(Log()[0], "40.000000 ");
    EXPECT_TRUE(InScene(screen));
    EXPECT_EQ(Scripts().killList.size(), Log().size()) << "every kill waits for the switch";

    while (engine->jsonManager->scenes.Busy())
    {
        engine->Update();
    }
    engine->timer->SetClock(&clock);
    EXPECT_EQ(CurrentScene().name, next);
    EXPECT_EQ(CurrentScene().entities.size(), 45u) << "the old scene's kills spared the new entities";
    EXPECT_TRUE(Scripts().killList.empty());
    EXPECT_TRUE(screen->components.empty());
}

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

TEST_F(LookActions, AnimationNamesAndTextsJoinTheirWordsPlayRestartsTheRunAndParticlesTurnEveryEmitter)
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

    // Particle prefabs turn every emitter, or say they have none.
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

using ECS::ForceEntry;
using ECS::RigidBody;

// Actions that move entities: transforms, the camera and rigid bodies.
class TransformActions : public ScriptTest
{
protected:
    ECS::IEntity* Body(const std::string& name, const std::string& actions)
    {
        return Once(name, actions, "", [](ECS::IEntity* e) { e->AddComponent<RigidBody>(); });
    }
    static ECS::Transform& TransformOf(ECS::IEntity* e) { return *e->GetComponent<ECS::Transform>(); }
    static RigidBody& BodyOf(ECS::IEntity* e) { return *e->GetComponent<RigidBody>(); }
};

TEST_F(TransformActions, TranslateRotateScaleAndLookAtTurnTheEntityAsAsked)
{
    // Each runs its actions in one step of half a second.
    const auto halfSecond = [this](const std::string& name, const std::string& actions)
    {
        ECS::IEntity* e = Compiled(name, "[Event] Initialize\n[Action]\n" + actions + "\n[End]");
        Scripts().Update(0.5f);
        return e;
    };
    ECS::IEntity* plain = halfSecond("Plain", "Translate 1 0 0\nTranslate 0 2 0");
    ECS::IEntity* fixed = halfSecond("Fixed", "Translate 1 0 3 fixed");
    EXPECT_FLOAT_EQ(TransformOf(plain).position.x, 0.016666668f);
    EXPECT_FLOAT_EQ(TransformOf(plain).position.y, 2.0f * 0.016666668f);
    EXPECT_FLOAT_EQ(TransformOf(fixed).position.x, 0.5f);
    EXPECT_FLOAT_EQ(TransformOf(fixed).position.z, 1.5f);

    ECS::IEntity* e = halfSecond("Hero", "Rotate 0 0 90\nScale 2 0 0\nSetPosition 3 4 5");
    EXPECT_EQ(TransformOf(e).angle, (Vector4{0, 0, 45, 0}));
    EXPECT_EQ(TransformOf(e).scale.y, 1.0f);
    EXPECT_EQ(TransformOf(e).position, (Vector4{3, 4, 5, 0}));

    // LookAt turns the facing side, mirrored when flipped, to a point or one entity by id or name.
    ECS::IEntity* back = Once("Back", "LookAt -3 0 0");
    EXPECT_FLOAT_EQ(TransformOf(back).angle.z, 180.0f);
    ECS::IEntity* flipped =
        Once("Flipped", "LookAt 0 5 0", "", [](ECS::IEntity* e) { TransformOf(e).flipX = true; });
    EXPECT_FLOAT_EQ(TransformOf(flipped).angle.z, -90.0f);

    ECS::IEntity* target = Make("Target");
    TransformOf(target).position = {0, -2, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    EXPECT_FLOAT_EQ(TransformOf(Once("ByName", "LookAt Target")).angle.z, -90.0f);
    EXPECT_FLOAT_EQ(TransformOf(Once("ById", "LookAt " + std::to_string(target->id))).angle.z, -90.0f);
    Once("Lost", "LookAt Nobody");
    EXPECT_EQ(Said().back(), "Something is wrong with Lost");
}

TEST_F(TransformActions, CameraFollowAndParallaxMoveByTheirFractions)
{
    ECS::IEntity* e = Compiled("Cam", "[Event] Initialize\n[Action]\nCameraFollow 10 20 0 3 0.5\n[End]");
    auto* camera = e->AddComponent<ECS::Camera>();
    camera->zoom = 1.0f;
    Step();
    EXPECT_EQ(TransformOf(e).position, (Vector4{5, 10, 0, 0}));
    EXPECT_EQ(camera->zoom, 2.0f);
    EXPECT_EQ(camera->startPosition, (Vector4{5, 10, 0, 0}));
    Once("Hero", "CameraFollow 10 20 0 3 0.5");
    EXPECT_EQ(Said().back(), "Something is wrong with Hero");

    TransformOf(CurrentScene().mainCamera).position = {100, 50, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    ECS::IEntity* hills = Once("Hills", "Parallax 20 10 0.5 1 2", "",
                               [](ECS::IEntity* e) { TransformOf(e).position.z = -4.0f; });
    EXPECT_EQ(TransformOf(hills).position, (Vector4{41, 22, -4, 0}));
}

TEST_F(TransformActions, ForcesLastForEverWithoutAPositiveDurationYeetFlingsWithTwoDrawsAndVelocitiesTurn)
{
    RigidBody& added =
        BodyOf(Body("Added", "AddForce 0 0 0\nAddForce 10 0 0 -1\nAddForce 0 2 0 0.5\nAddForce 0 0 3"));
    ASSERT_EQ(added.forces.size(), 3u);
    EXPECT_EQ(added.forces[0].force, (Vector4{10, 0, 0, 0}));
    EXPECT_EQ(added.forces[0].timeLeft, ForceEntry::PERMANENT);
    EXPECT_EQ(added.forces[1].timeLeft, 0.5f);
    EXPECT_EQ(added.forces[2].timeLeft, ForceEntry::PERMANENT);

    EXPECT_TRUE(BodyOf(Body("Cleared", "AddForce 1 1 0\nSetForce 0 0 0")).forces.empty())
        << "a zero force only clears";
    RigidBody& set = BodyOf(Body("Set", "AddForce 1 1 0\nSetForce 0 4 0 whatever"));
    ASSERT_EQ(set.forces.size(), 1u);
    EXPECT_EQ(set.forces[0].force, (Vector4{0, 4, 0, 0}));
    EXPECT_EQ(set.forces[0].timeLeft, RigidBody::ONE_STEP);
    Once("Bodiless", "AddForce 1 0 0");
    EXPECT_EQ(Log().back(), "Missing RigidBody component in Bodiless.");

    // Yeet flings with two draws and tilts, quietly doing nothing without a body.
    float draws[] = {0.25f, 0.5f};
    int next = 0;
    engine->random.SetFractionSource([&] { return draws[next++ % 2]; });
    ECS::IEntity* e = Body("Goner", "AddForce 1 0 0\nYeet whatever");
    engine->random.SetFractionSource({});
    RigidBody& body = BodyOf(e);
    ASSERT_EQ(body.forces.size(), 1u);
    EXPECT_EQ(body.forces[0].force, (Vector4{300, 200, 0, 0}))
        << "the first draw goes up, the second sideways";
    EXPECT_EQ(body.forces[0].timeLeft, RigidBody::ONE_STEP);
    EXPECT_EQ(TransformOf(e).angle, (Vector4{0, 0, 10, 0}));
    const std::size_t lines = Log().size();
    ECS::IEntity* plain = Once("Plain", "Yeet");
    EXPECT_EQ(Log().size(), lines) << "no body, no message";
    EXPECT_EQ(TransformOf(plain).angle, (Vector4{0, 0, 0, 0}));

    // Velocities turn with the entity and its mirror, and move towards the target.
    ECS::IEntity* up = Compiled("Up", "[Event] Initialize\n[Action]\nSetForwardVelocity 5 0 0\n[End]");
    ECS::IEntity* back = Compiled("Back", "[Event] Initialize\n[Action]\nSetForwardVelocity 5 1 0\n[End]");
    ECS::IEntity* runner = Compiled("Runner", "[Event] Initialize\n[Action]\nMoveTowards 4 5 0 10\n[End]");
    for (ECS::IEntity* e : {up, back, runner})
    {
        e->AddComponent<RigidBody>();
    }
    TransformOf(up).angle.z = 90.0f;
    TransformOf(back).flipX = true;
    TransformOf(runner).position = {1, 1, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    Step();
    EXPECT_NEAR(BodyOf(up).velocity.x, 0.0f, 1e-5f);
    EXPECT_NEAR(BodyOf(up).velocity.y, 5.0f, 1e-5f);
    EXPECT_NEAR(BodyOf(back).velocity.x, -5.0f, 1e-5f) << "a mirrored entity faces the other way";
    EXPECT_NEAR(BodyOf(back).velocity.y, -1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(BodyOf(runner).velocity.x, 6.0f);
    EXPECT_FLOAT_EQ(BodyOf(runner).velocity.y, 8.0f);
    EXPECT_EQ(BodyOf(Body("Adder", "SetVelocity 1 2 3\nAddVelocity 1 1 1")).velocity, (Vector4{2, 3, 4, 0}));
}

// A state change clears the bounciness; a name it does not know changes nothing.
TEST_F(TransformActions, NoMassMeansImmovableStateNamesAreUpperCaseAndIgnoredTagsAreAddedOnce)
{
    const auto bouncy = [](ECS::IEntity* e) { e->AddComponent<RigidBody>()->bounciness = 0.7f; };
    RigidBody& crate = BodyOf(Once("Crate", "SetPhysicsState Kinematic\nSetMass 0", "", bouncy));
    EXPECT_EQ(crate.rigidbodyMode, RigidBody::DYNAMIC);
    EXPECT_EQ(crate.bounciness, 0.7f);
    EXPECT_EQ(crate.inverseMass, 0.0f) << "not infinitely light";
    RigidBody& lift = BodyOf(Once("Lift", "SetPhysicsState KINEMATIC\nSetMass 4", "", bouncy));
    EXPECT_EQ(lift.rigidbodyMode, RigidBody::KINEMATIC);
    EXPECT_EQ(lift.bounciness, 0.0f);
    EXPECT_EQ(lift.inverseMass, 0.25f);
    EXPECT_EQ(BodyOf(Body("Wall", "SetPhysicsState STATIC")).rigidbodyMode, RigidBody::STATIC);

    // Ignored tags are added once and forgotten all at once.
    const uint64_t player = engine->jsonManager->RegisterTag("Player");
    const uint64_t enemy = engine->jsonManager->RegisterTag("Enemy");
    ASSERT_NE(player, enemy);
    RigidBody& body = BodyOf(Body("Ghost", "IgnoreCollision true Enemy\nIgnoreCollision true Enemy\n"
                                           "IgnoreCollision true Player"));
    EXPECT_EQ(body.ignoreTags, (std::vector<uint64_t>{enemy, player}));
    RigidBody& forgetful =
        BodyOf(Body("Solid", "IgnoreCollision true Enemy\nIgnoreCollision false Anything"));
    EXPECT_TRUE(forgetful.ignoreTags.empty());
}

// Variables, arrays and flow, in scripts whose actions run once, on the first step.
class VariableActions : public ScriptTest
{
protected:
    bool Failed(const std::string& name) const
    {
        return std::count(Log().begin(), Log().end(), "Something is wrong with " + name) > 0;
    }
};

TEST_F(VariableActions, FloatOpStringOpAndTheConversionsWriteTheirDestinationsOrFailTheScript)
{
    ECS::IEntity* e = Once("Hero",
                           "SetFloat #l_a 4\nFloatOp #l_a + 1 #l_a\nFloatOp #l_a * #l_a #l_a\n"
                           "FloatOp 7.9 % 3.2 #l_r\nFloatOp -7 % 3 #l_s",
                           "float a\nfloat r\nfloat s");
    EXPECT_EQ(FloatOf(e, "a"), 25.0f);
    EXPECT_EQ(FloatOf(e, "r"), 1.0f);
    EXPECT_EQ(FloatOf(e, "s"), -1.0f);
    EXPECT_FALSE(Failed("Hero"));

    ECS::IEntity* f = Once("Foe", "FloatOp 1 + 1 #l_b\nPrint after");
    EXPECT_TRUE(Failed("Foe"));
    EXPECT_EQ(Script(f).floatList.count("b"), 0u);
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "after "), 0) << "the rest of the script is abandoned";
    ECS::IEntity* z = Once("Zero", "SetFloat #l_r 9\nFloatOp 5 % 0.5 #l_r", "float r");
    EXPECT_TRUE(Failed("Zero"));
    EXPECT_EQ(FloatOf(z, "r"), 9.0f);
    Once("Pow", "FloatOp 2 ^ 3 #l_r", "float r");
    EXPECT_TRUE(Failed("Pow"));

    // StringOp joins parts with ~ as one space; the conversions to int and to string.
    Scripts().compiler.globals.strings["score"] = "120";
    ECS::IEntity* s = Once("Scorer", "StringOp #l_s Score: ~ #g_score\nStringOp #l_s #l_s ! ~", "string s");
    EXPECT_EQ(Script(s).stringList.at("s"), "Score: 120! ");

    ECS::IEntity* c = Once("Converter",
                           "ToInt -2.7 #l_i\nToString 2.5 #l_f\nToString -3.9 #l_n int\n"
                           "SetString #l_keep old\nToString 5 #l_keep hex",
                           "float i\nstring f\nstring n\nstring keep");
    EXPECT_EQ(FloatOf(c, "i"), -2.0f);
    EXPECT_EQ(Script(c).stringList.at("f"), "2.500000");
    EXPECT_EQ(Script(c).stringList.at("n"), "-3");
    EXPECT_EQ(Script(c).stringList.at("keep"), "old") << "an unknown mode does nothing";
    EXPECT_FALSE(Failed("Converter"));
    Once("Truncator", "ToInt 3 #l_missing");
    EXPECT_TRUE(Failed("Truncator")) << "ToInt writes only into an existing float";
}

TEST_F(VariableActions, PopAndClearKillOnlyWhenAskedAndAtTheEndOfTheStep)
{
    ECS::IEntity* a = Make("A");
    ECS::IEntity* b = Make("B");
    ECS::IEntity* e = Once("Hero",
                           "AddToArray enemies #entA\nAddToArray enemies #entB\nPopBackArray enemies true\n"
                           "Print #count_enemies\nPrint #entB\nAddToArray nums 3\nAddToArray nums 4.5\n"
                           "ArraySize nums #l_n\nPopBackArray nums",
                           "ent[] enemies\nfloat[] nums\nfloat n");
    EXPECT_EQ(Script(e).entityArrays.at("enemies"), (std::vector<ECS::EntityHandle>{ECS::EntityHandle(a)}));
    EXPECT_EQ(Log(), (Strings{"1.000000 ", "B "})) << "B is still there until the step ends";
    EXPECT_TRUE(InScene(a));
    EXPECT_FALSE(InScene(b));
    EXPECT_EQ(Script(e).floatArrays.at("nums"), (std::vector<float>{3.0f}));
    EXPECT_EQ(FloatOf(e, "n"), 2.0f);

    ECS::IEntity* c = Make("C");
    ECS::IEntity* keeper =
        Once("Keeper", "AddToArray list #entC\nClearArray list false\nPopBackArray list true", "ent[] list");
    EXPECT_TRUE(InScene(c));
    EXPECT_TRUE(Script(keeper).entityArrays.at("list").empty());
    Once("Clearer", "AddToArray all #entA\nAddToArray all #entC\nClearArray all true", "ent[] all");
    EXPECT_FALSE(InScene(a));
    EXPECT_FALSE(InScene(c));
}

TEST_F(VariableActions, ForCountsFromTheCounterWhichTheGroupMayAdvanceAndCallRunsAGroupsBlocks)
{
    ECS::IEntity* e =
        Once("Hero",
             "SetFloat #l_i 1\nFor 3 Spawn #l_i\nPrint done #l_i\nFor 2 Tick\nFor 10 Skip #l_j\n"
             "[End]\n[ActionGroup] Spawn\n[Action]\nPrint spawn #l_i\n[End]\n"
             "[ActionGroup] Tick\n[Action]\nPrint tick\n[End]\n"
             "[ActionGroup] Skip\n[Action]\nPrint skip #l_j\nFloatOp #l_j + 4 #l_j",
             "float i\nfloat j");
    // j: 0 -> 4 (+1) -> 9 (+1) -> 10: two calls.
    EXPECT_EQ(Log(), (Strings{"spawn 1.000000 ", "spawn 2.000000 ", "done 3.000000 ", "tick ", "tick ",
                              "skip 0.000000 ", "skip 5.000000 "}));
    EXPECT_EQ(FloatOf(e, "i"), 3.0f);

    // A counter that cannot hold the increment (a number, a count, a read-only field) would
    // loop for ever: the group runs once, then the loop stops as invalid.
    engine->logger.Clear();
    Once("Spinner", "For 3 Tick 0\nFor 3 Tick #count_none\nFor 3 Tick #self_id\nPrint after\n[End]\n"
                    "[ActionGroup] Tick\n[Action]\nPrint tick");
    EXPECT_EQ(Log(), (Strings{"tick ", "Invalid For parameters in Spinner.", "tick ",
                              "Invalid For parameters in Spinner.", "tick ",
                              "Invalid For parameters in Spinner.", "after "}));

    // Call runs a group's blocks; an unknown group runs nothing; a missing array is reported.
    engine->logger.Clear();
    Once("Hero",
         "SetFloat #l_hp 5\nCall Report\nCall Nowhere\nPrint end\n[End]\n"
         "[ActionGroup] Report\n[Condition]\nCheckFloat #l_hp > 10\n[Action]\nPrint "
         "high\n[Else]\n[Action]\nPrint low",
         "float hp");
    EXPECT_EQ(Log(), (Strings{"low ", "end "}));
    engine->logger.Clear();
    Once("Hoarder", "AddToArray ghosts 1\nArraySize ghosts #l_n\nPrint on", "float n");
    EXPECT_EQ(Log(), (Strings{"Missing array ghosts in Hoarder.", "Missing array ghosts in Hoarder.", "on "}))
        << "the block goes on";
}

TEST_F(VariableActions, GroupsThatRunThemselvesWithoutEndFailTheEntitysStepInsteadOfTheStack)
{
    // A group may call itself while it counts down...
    ECS::IEntity* counter = Once("Counter",
                                 "SetFloat #l_n 30\nCall Down\nPrint bottom #l_n\n[End]\n"
                                 "[ActionGroup] Down\n[Condition]\nCheckFloat #l_n > 0\n"
                                 "[Action]\nFloatOp #l_n - 1 #l_n\nCall Down",
                                 "float n");
    EXPECT_EQ(FloatOf(counter, "n"), 0.0f);
    EXPECT_EQ(Log(), (Strings{"bottom 0.000000 "}));

    // ...but one that never stops, by Call, For or a condition group's Check, fails that entity
    // for the step, every step, and the others run on.
    engine->logger.Clear();
    Compiled("Caller", "[Event] True\n[Action]\nCall Again\nPrint never\n[End]\n"
                       "[ActionGroup] Again\n[Action]\nCall Again\n[End]");
    Compiled("Looper", "[Event] True\n[Action]\nFor 2 Again\n[End]\n"
                       "[ActionGroup] Again\n[Action]\nFor 2 Again\n[End]");
    Compiled("Checker", "[OrGroup] Again\nCheck Again\n[End]\n"
                        "[Event] True\n[Condition]\nCheck Again\n[Action]\nPrint never\n[End]");
    Compiled("Bystander", "[Event] True\n[Action]\nPrint still here\n[End]");
    Step(3); // the first step after a compile runs only Initialize events
    const Strings oneStep = {"Something is wrong with Caller", "Something is wrong with Looper",
                             "Something is wrong with Checker", "still here "};
    Strings twoSteps = oneStep;
    twoSteps.insert(twoSteps.end(), oneStep.begin(), oneStep.end());
    EXPECT_EQ(Said(), twoSteps);
}

} // namespace Varn::Test
