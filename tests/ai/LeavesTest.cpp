#include "ai/AITestSupport.h"
#include "ai/BlackboardLeaves.h"
#include "ai/EntityLeaves.h"
#include "ai/PlayerLeaves.h"
#include "ai/PrefabSpawner.h"
#include "ai/StopwatchLeaves.h"
#include "core/Timer.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "scene/JSONManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Varn::Test
{
namespace
{
using namespace Behaviours;
using BehaviourTree::Failure;
using BehaviourTree::Success;

class LeavesTest : public AITest
{
protected:
    void SetUp() override
    {
        AITest::SetUp();
        previousLoader = SetPrefabLoader({}); // leaves see no loader unless a test gives one
    }
    void TearDown() override
    {
        SetPrefabLoader(previousLoader);
        AITest::TearDown();
    }

    PrefabLoader previousLoader; // the game's loader, put back after each test
};

TEST(BlackboardLeaves, TestAndWriteTheirVariableInPlace)
{
    float life = 0.5f;
    bool flag = false;
    int count = 2;
    EXPECT_EQ(CheckInt(&count, 2).Run(), Success);
    EXPECT_EQ(CheckInt(&count, 3).Run(), Failure);
    EXPECT_EQ(CheckLife(&life).Run(), Success);
    EXPECT_EQ(CheckFloat(&life, 0.5f).Run(), Success);
    EXPECT_EQ(CheckFloat(&life, 0.50001f).Run(), Failure);
    float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(CheckFloat(&nan, nan).Run(), Failure);

    EXPECT_EQ(IsPatrolling(&flag).Run(), Failure);
    EXPECT_EQ(ToggleBool(&flag).Run(), Success);
    EXPECT_TRUE(flag);
    EXPECT_EQ(IsPatrolLeft(&flag).Run(), Success);
    EXPECT_EQ(TogglePatrol(&flag, false).Run(), Success);
    EXPECT_FALSE(flag);
    EXPECT_EQ(CheckBool(&flag, false).Run(), Success);

    Counter counter(&life);
    counter.Run();
    counter.Run();
    EXPECT_FLOAT_EQ(life, 2.5f);
    EXPECT_EQ(SetFloat(&life, 0.0f).Run(), Success);
    EXPECT_EQ(CheckLife(&life).Run(), Failure);
}

TEST_F(LeavesTest, DamageStopsAtZeroButOvershootsAndAttackPlayerSpendsArmourBeforeHealth)
{
    ECS::IEntity* target = Make("Target");
    float life = 0.5f;
    DamageEntity damage(target, 1.0f, &life);
    EXPECT_EQ(damage.Run(), Success);
    EXPECT_FLOAT_EQ(life, -0.5f);
    EXPECT_EQ(damage.Run(), Success);
    EXPECT_FLOAT_EQ(life, -0.5f);

    life = 0.0f;
    EXPECT_EQ(damage.Run(), Success);
    EXPECT_EQ(life, 0.0f);

    life = 3.0f;
    EXPECT_EQ(DamageEntity(nullptr, 1.0f, &life).Run(), Failure);
    EXPECT_EQ(life, 3.0f);

    // AttackPlayer spends armour before health.
    ECS::IEntity* player = Make<Component::ScriptComponent>("Player");
    auto& floats = player->GetComponent<Component::ScriptComponent>()->floatList;
    floats["PlayerArmour"] = 2.0f;
    floats["PlayerHealth"] = 5.0f;
    AttackPlayer attack(player);

    EXPECT_EQ(attack.Run(), Success);
    EXPECT_FLOAT_EQ(floats["PlayerArmour"], -1.0f);
    EXPECT_FLOAT_EQ(floats["PlayerHealth"], 5.0f);
    EXPECT_EQ(attack.Run(), Success);
    EXPECT_FLOAT_EQ(floats["PlayerArmour"], -1.0f);
    EXPECT_FLOAT_EQ(floats["PlayerHealth"], 4.0f);

    // A script without the variables is not given any.
    ECS::IEntity* bare = Make<Component::ScriptComponent>("Bare");
    EXPECT_EQ(AttackPlayer(bare).Run(), Failure);
    EXPECT_TRUE(bare->GetComponent<Component::ScriptComponent>()->floatList.empty());
    EXPECT_EQ(AttackPlayer(nullptr).Run(), Failure);
}

TEST_F(LeavesTest, CheckDurationWithResetSucceedsOncePerPeriodAndStartStopRestartTheWatch)
{
    Time::FrameCounter* watch = engine->timer->CreateCounter(false);
    watch->elapsed = 5.02f;
    CheckDuration check(watch, 5.0f, true);
    EXPECT_EQ(check.Run(), Success);
    EXPECT_EQ(watch->elapsed, 0.0f);
    EXPECT_FLOAT_EQ(watch->lastElapsed, 5.02f);
    EXPECT_EQ(check.Run(), Failure);

    Frames(299); // 4.98 s
    EXPECT_EQ(check.Run(), Failure);
    Frames(1);
    EXPECT_EQ(check.Run(), Success);

    // Without reset it keeps succeeding.
    watch->elapsed = 6.0f;
    CheckDuration keep(watch, 5.0f, false);
    EXPECT_EQ(keep.Run(), Success);
    EXPECT_EQ(keep.Run(), Success);

    // StartWatch and StopWatch restart the watch and keep their flag.
    Time::FrameCounter* stopwatch = engine->timer->CreateCounter(false);
    bool started = false;
    Frames(30);
    EXPECT_EQ(StartWatch(stopwatch, &started).Run(), Success);
    EXPECT_TRUE(started);
    EXPECT_EQ(stopwatch->elapsed, 0.0f);
    EXPECT_NEAR(stopwatch->lastElapsed, 0.5f, 1e-4f);
    Frames(6);
    EXPECT_EQ(StopWatch(stopwatch, &started).Run(), Success);
    EXPECT_FALSE(started);
    EXPECT_NEAR(stopwatch->lastElapsed, 0.1f, 1e-4f);
    EXPECT_EQ(StartWatch(nullptr).Run(), Failure);
    EXPECT_EQ(StopWatch(nullptr, &started).Run(), Failure);
}

TEST_F(LeavesTest, AKilledWatchReadsZeroAndCannotBeRestarted)
{
    Time::FrameCounter* other = engine->timer->CreateCounter(false);
    Time::FrameCounter* watch = engine->timer->CreateCounter(false);
    Time::FrameCounter* last = engine->timer->CreateCounter(false);
    watch->elapsed = 100.0f;
    bool started = false;

    EXPECT_EQ(KillWatch(watch).Run(), Success);
    const auto& counters = engine->timer->Counters();
    ASSERT_EQ(counters.size(), 2u);
    EXPECT_EQ(counters[0].get(), other); // order of the others kept
    EXPECT_EQ(counters[1].get(), last);

    EXPECT_EQ(CheckDuration(watch, 0.01f, true).Run(), Failure);
    EXPECT_EQ(CheckDuration(watch, 0.0f, false).Run(), Success); // 0 >= 0
    EXPECT_EQ(StartWatch(watch, &started).Run(), Failure);
    EXPECT_FALSE(started);
    EXPECT_EQ(KillWatch(watch).Run(), Success); // twice is harmless
}

TEST_F(LeavesTest, StopMovingKeepsAFallingEnemyFallingAndMovePushesForExactlyOneStep)
{
    ECS::IEntity* enemy = Make<Component::RigidBody>("Enemy", {0, 500, 0, 0});
    auto* body = enemy->GetComponent<Component::RigidBody>();
    body->velocity = {120, 0, 0, 0};
    Frames(10);
    const float fallSpeed = body->velocity.y;
    ASSERT_LT(fallSpeed, 0.0f);

    EXPECT_EQ(StopMoving(enemy).Run(), Success);
    EXPECT_EQ(body->velocity.x, 0.0f);
    EXPECT_EQ(body->velocity.y, fallSpeed);
    Frames(1);
    EXPECT_LT(body->velocity.y, fallSpeed); // still accelerating downwards

    // Move pushes for exactly one step.
    EXPECT_EQ(Move(enemy, {90, 0, 0, 0}).Run(), Success);
    ASSERT_EQ(body->forces.size(), 1u);
    EXPECT_EQ(body->forces[0].force, (Math::Vector4{90, 0, 0, 0}));
    EXPECT_FLOAT_EQ(body->forces[0].timeLeft, 0.0167f);
    EXPECT_EQ(Move(nullptr, {90, 0, 0, 0}).Run(), Success);
}

TEST_F(LeavesTest, IsPlayerNearLooksToPlusXUnlessFlippedIsFacingPlayerTheOtherWayAndRangesAreStrict)
{
    ECS::IEntity* enemy = Make<Component::RigidBody>("Enemy", {0, 0, 0, 0});
    ECS::IEntity* player = Make("Player", {200, 50, 0, 0});
    auto* transform = enemy->GetComponent<Component::Transform>();
    IsPlayerNear near(1000.0f, enemy);
    IsFacingPlayer facing(enemy, player);

    transform->flipX = false; // player to the right
    EXPECT_EQ(near.Run(), Success);
    EXPECT_EQ(facing.Run(), Failure);
    transform->flipX = true;
    EXPECT_EQ(near.Run(), Failure);
    EXPECT_EQ(facing.Run(), Success);

    EXPECT_EQ(IsPlayerNear(200.0f, enemy).Run(), Failure); // distance is √(200² + 50²)
    player->layer = 1;
    EXPECT_EQ(near.Run(), Failure);
    player->layer = 0;

    // Level in x: near fails whichever way it looks.
    player->GetComponent<Component::Transform>()->position = {0, 50, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    EXPECT_EQ(near.Run(), Failure);
    transform->flipX = false;
    EXPECT_EQ(near.Run(), Failure);
    EXPECT_EQ(facing.Run(), Success); // x equal counts as facing for an unflipped entity

    // Distance and height tests are strict.
    ECS::IEntity* striker = Make("Striker", {0, 0, 0, 0});
    ECS::IEntity* target = Make("Target", {300, 0, 0, 0});
    EXPECT_EQ(WithinAttackRange(300.0f, striker, target).Run(), Failure);
    EXPECT_EQ(WithinAttackRange(300.5f, striker, target).Run(), Success);
    EXPECT_EQ(WithinAttackRange(300.5f, striker, nullptr).Run(), Failure);

    target->GetComponent<Component::Transform>()->position = {0, 65, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    EXPECT_EQ(CheckYRange(65.0f, striker, target).Run(), Failure);
    EXPECT_EQ(CheckYRange(66.0f, striker, target).Run(), Success);
    EXPECT_EQ(CheckYRange(66.0f, nullptr, target).Run(), Failure);
}

TEST_F(LeavesTest, CollisionNamesMatchNameOrTagAndThePlayerIsFoundByContactOrBoxTrigger)
{
    engine->jsonManager->RegisterTag("Default");
    const uint64_t smash = engine->jsonManager->RegisterTag("Smash");
    ECS::IEntity* enemy = Make<Component::BoxCollider2D, Component::CircleCollider2D>("Enemy");
    ECS::IEntity* bullet = Make("Bullet");
    ECS::IEntity* hammer = Make("Hammer");
    hammer->tags = smash;

    EXPECT_EQ(CheckCollisionName(enemy, "Bullet").Run(), Failure);
    enemy->GetComponent<Component::CircleCollider2D>()->triggerEntities = {bullet};
    EXPECT_EQ(CheckCollisionName(enemy, "Bullet").Run(), Success);
    enemy->GetComponent<Component::BoxCollider2D>()->triggerEntities = {hammer};
    EXPECT_EQ(CheckCollisionName(enemy, "Smash").Run(), Success);
    EXPECT_EQ(CheckCollisionName(enemy, "Hammer").Run(), Success);
    EXPECT_EQ(CheckCollisionName(enemy, "Wall").Run(), Failure);
    EXPECT_EQ(CheckCollisionName(nullptr, "Bullet").Run(), Failure);

    // Colliding with the player uses contacts with a body and the box trigger without.
    ECS::IEntity* player = Make("Player");
    ECS::IEntity* area = Make<Component::BoxCollider2D>("Area");
    ECS::IEntity* walker = Make<Component::RigidBody>("Walker");
    EXPECT_EQ(CollidingWithPlayer(area, player).Run(), Failure);
    area->GetComponent<Component::BoxCollider2D>()->triggerEntities = {player};
    EXPECT_EQ(CollidingWithPlayer(area, player).Run(), Success);
    area->layer = 2;
    EXPECT_EQ(CollidingWithPlayer(area, player).Run(), Failure);

    EXPECT_EQ(CollidingWithPlayer(walker, player).Run(), Failure);
    walker->GetComponent<Component::RigidBody>()->contacts.push_back({player, {0, 1, 0, 0}});
    EXPECT_EQ(CollidingWithPlayer(walker, player).Run(), Success);
    EXPECT_EQ(CollidingWithPlayer(nullptr, player).Run(), Failure);
}

TEST_F(LeavesTest, CreatePrefabGoesThroughTheLoaderAndPlacesTheInstance)
{
    int calls = 0;
    std::string lastPath;
    SetPrefabLoader(
        [&](const std::string& path, const Math::Vector4& position)
        {
            ++calls;
            lastPath = path;
            return Make("Instance", position);
        });
    ECS::IEntity* anchor = Make("Anchor", {40, 60, 0, 0});

    CreatePrefab anchored({1, 2, 3, 0}, {0, 0, 45, 0}, "Resources\\Prefabs\\Bomb.prefab", 4, anchor, true);
    EXPECT_EQ(anchored.Run(), Success);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(lastPath, "Resources\\Prefabs\\Bomb.prefab");
    ECS::IEntity* instance = CurrentScene().entities.back();
    EXPECT_EQ(instance->GetComponent<Component::Transform>()->position, (Math::Vector4{40, 60, 0, 0}));
    EXPECT_EQ(instance->GetComponent<Component::Transform>()->angle, (Math::Vector4{}));
    EXPECT_EQ(instance->layer, 4u);

    CreatePrefab placed({1, 2, 3, 0}, {0, 0, 45, 0}, "P", 4, nullptr, false);
    EXPECT_EQ(placed.Run(), Success);
    instance = CurrentScene().entities.back();
    EXPECT_EQ(instance->GetComponent<Component::Transform>()->position, (Math::Vector4{1, 2, 3, 0}));
    EXPECT_EQ(instance->GetComponent<Component::Transform>()->angle, (Math::Vector4{0, 0, 45, 0}));
    EXPECT_EQ(instance->layer, 0u);

    SetPrefabLoader(
        [&](const std::string&, const Math::Vector4&) -> ECS::IEntity*
        {
            ++calls;
            return nullptr;
        });
    EXPECT_EQ(placed.Run(), Failure);
    EXPECT_EQ(calls, 3);
}

TEST_F(LeavesTest, SpriteLeavesChangeTextureTintAndOpacity)
{
    ECS::IEntity* enemy = Make<Component::SpriteRenderer>("Enemy");
    auto* sprite = enemy->GetComponent<Component::SpriteRenderer>();
    sprite->frame = 7;
    sprite->texOffset = {0.5f, 0.25f};
    // A texture that nothing loaded before: the leaf reads it, so the sprite gets its size.
    const std::string path = std::string(CORVALUNE_SOURCE_DIR) + "/Resources/Sprites/Grunt1/grunt_walk.dds";
    EXPECT_EQ(engine->resources->GetTexture(path)->width, 0);
    EXPECT_EQ(SetTexture(&path, enemy).Run(), Success);
    EXPECT_EQ(sprite->texture, engine->resources->GetTexture(path));
    EXPECT_GT(sprite->texture->width, 0);
    EXPECT_EQ(sprite->frame, 0u);
    EXPECT_EQ(sprite->texOffset, (std::array<float, 2>{0.0f, 0.0f}));

    EXPECT_EQ(SetTint(enemy, {1, 0, 0, 1}).Run(), Success);
    EXPECT_EQ(sprite->tint.g, 0.0f);

    DecreaseOpacity fade(enemy);
    CheckOpacity halfGone(0.5f, enemy);
    int runs = 0;
    while (halfGone.Run() == Failure && runs < 1000)
    {
        fade.Run();
        ++runs;
    }
    EXPECT_EQ(runs, 69); // 0.99^69 is the first power at or below 0.5
    EXPECT_EQ(DecreaseOpacity(nullptr).Run(), Failure);
    EXPECT_EQ(SetTint(nullptr, {}).Run(), Failure);
}

TEST_F(LeavesTest, TagLeavesUseTheSceneRegistry)
{
    engine->jsonManager->RegisterTag("Default");
    const uint64_t enemyTag = engine->jsonManager->RegisterTag("Enemy");
    const uint64_t playerTag = engine->jsonManager->RegisterTag("Player");
    ECS::IEntity* enemy = Make<Component::RigidBody>("Enemy");
    enemy->tags = enemyTag;

    EXPECT_EQ(SetTag(enemy, {"Player", "Unknown"}).Run(), Success);
    EXPECT_EQ(enemy->tags, playerTag);
    EXPECT_EQ(SetTag(enemy, {}).Run(), Success);
    EXPECT_EQ(enemy->tags, 0u);

    AddIgnoreTag first(enemy, "Player");
    AddIgnoreTag again(enemy, "Player");
    AddIgnoreTag unknown(enemy, "Nothing");
    EXPECT_EQ(enemy->GetComponent<Component::RigidBody>()->ignoreTags, (std::vector<uint64_t>{playerTag}));
    EXPECT_EQ(first.Run(), Success);
}

TEST_F(LeavesTest, AddToKillListRemovesTheEntityAfterTheTick)
{
    ECS::IEntity* doomed = Make("Doomed");
    auto kill = std::make_shared<AddToKillList>(doomed);
    MakeWithTree("Killer", kill);
    Frames(1);
    EXPECT_TRUE(doomed->components.empty());
    EXPECT_EQ(std::count(CurrentScene().entities.begin(), CurrentScene().entities.end(), doomed), 0);
    EXPECT_EQ(AddToKillList(nullptr).Run(), Success);
}

TEST_F(LeavesTest, RotateTurnsFromTheCurrentWorldAngleAndPrefabToggleSwitchesTheEntity)
{
    ECS::IEntity* enemy = Make("Enemy");
    enemy->GetComponent<Component::Transform>()->angle = {0, 0, 30, 0};
    CurrentScene().transformSystem->UpdateAll();
    Rotate rotate(enemy, 25.0f);
    EXPECT_EQ(rotate.Run(), Success);
    EXPECT_NEAR(enemy->GetComponent<Component::Transform>()->angle.z, 55.0f, 1e-3f);
    EXPECT_EQ(Rotate(nullptr, 25.0f).Run(), Failure);

    ECS::IEntity* collider = Make("Collider");
    EXPECT_EQ(TogglePrefab(collider, false).Run(), Success);
    EXPECT_EQ(CheckPrefab(collider).Run(), Failure);
    EXPECT_EQ(TogglePrefab(collider, true).Run(), Success);
    EXPECT_EQ(CheckPrefab(collider).Run(), Success);
    EXPECT_EQ(TogglePrefab(nullptr, true).Run(), Failure);
}

} // namespace
} // namespace Varn::Test
