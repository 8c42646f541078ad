#include "ai/AITestSupport.h"
#include "ai/BlackboardLeaves.h"
#include "ai/EntityLeaves.h"
#include "ai/PlayerLeaves.h"
#include "ai/StopwatchLeaves.h"

namespace Varn::Test
{
namespace
{
using namespace AI;
using AI::Failure;
using AI::Success;

using LeavesTest = AITest;

TEST_F(LeavesTest, DamageStopsAtZeroButOvershootsAttackPlayerSpendsArmourFirstAndAFreedEntitysLeafFails)
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
    ECS::IEntity* player = Make<ECS::ScriptComponent>("Player");
    auto& floats = player->GetComponent<ECS::ScriptComponent>()->floatList;
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
    ECS::IEntity* bare = Make<ECS::ScriptComponent>("Bare");
    EXPECT_EQ(AttackPlayer(bare).Run(), Failure);
    EXPECT_TRUE(bare->GetComponent<ECS::ScriptComponent>()->floatList.empty());
    EXPECT_EQ(AttackPlayer(nullptr).Run(), Failure);

    // A tree keeps the entities it was built with; once one is freed and its slot reused, the
    // leaf fails instead of acting on the newcomer.
    ECS::IEntity* grunt = Make("Grunt");
    FlipX flip(grunt, true);
    EXPECT_EQ(flip.Run(), Success);
    EXPECT_TRUE(grunt->GetComponent<ECS::Transform>()->flipX);

    CurrentScene().RemoveEntity(grunt, true);
    ECS::IEntity* crate = Make("Crate");
    ASSERT_EQ(crate, grunt) << "the pool hands the same slot out again";
    EXPECT_EQ(flip.Run(), Failure);
    EXPECT_FALSE(crate->GetComponent<ECS::Transform>()->flipX);
}

TEST_F(LeavesTest, AKilledWatchReadsZeroAndCannotBeRestarted)
{
    FrameCounter* other = engine->timer->CreateCounter(false);
    const Watch watch{engine->timer.get(), engine->timer->CreateCounter(false)};
    FrameCounter* last = engine->timer->CreateCounter(false);
    watch.counter->elapsed = 100.0f;
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

TEST_F(LeavesTest, CreatePrefabGoesThroughTheLoaderAndPlacesTheInstance)
{
    int calls = 0;
    std::string lastPath;
    UseLoader(
        [&](const std::string& path, const Vector4& position)
        {
            ++calls;
            lastPath = path;
            return Make("Instance", position);
        });
    ECS::IEntity* anchor = Make("Anchor", {40, 60, 0, 0});

    CreatePrefab anchored(engine->services, {1, 2, 3, 0}, {0, 0, 45, 0}, "Resources\\Prefabs\\Bomb.prefab", 4,
                          anchor, true);
    EXPECT_EQ(anchored.Run(), Success);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(lastPath, "Resources\\Prefabs\\Bomb.prefab");
    ECS::IEntity* instance = CurrentScene().entities.back();
    EXPECT_EQ(instance->GetComponent<ECS::Transform>()->position, (Vector4{40, 60, 0, 0}));
    EXPECT_EQ(instance->GetComponent<ECS::Transform>()->angle, (Vector4{}));
    EXPECT_EQ(instance->layer, 4u);

    CreatePrefab placed(engine->services, {1, 2, 3, 0}, {0, 0, 45, 0}, "P", 4, nullptr, false);
    EXPECT_EQ(placed.Run(), Success);
    instance = CurrentScene().entities.back();
    EXPECT_EQ(instance->GetComponent<ECS::Transform>()->position, (Vector4{1, 2, 3, 0}));
    EXPECT_EQ(instance->GetComponent<ECS::Transform>()->angle, (Vector4{0, 0, 45, 0}));
    EXPECT_EQ(instance->layer, 0u);

    UseLoader(
        [&](const std::string&, const Vector4&) -> ECS::IEntity*
        {
            ++calls;
            return nullptr;
        });
    EXPECT_EQ(placed.Run(), Failure);
    EXPECT_EQ(calls, 3);
}

} // namespace
} // namespace Varn::Test
