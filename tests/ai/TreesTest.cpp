// The behaviour trees: their nodes and leaves, and the system that builds and ticks them.
#include "ai/AITestSupport.h"
#include "ai/BlackboardLeaves.h"
#include "ai/Composite.h"
#include "ai/Conditional.h"
#include "ai/EntityLeaves.h"
#include "ai/PlayerLeaves.h"
#include "ai/StopwatchLeaves.h"
#include "ai/TreeBuilders.h"
#include "enemies/EnemyBuilders.h"

#include <stdexcept>

namespace Varn::Test
{
namespace
{
using namespace AI;
using AI::Failure;
using AI::Success;

int fakeBuilds = 0;
void FakeBuilder(ECS::IEntity&, ECS::BehaviourComponent&, const Services&)
{
    ++fakeBuilds;
}

using AISystemTest = AITest;

TEST_F(AISystemTest, AnEntityKilledByAnEarlierTreeIsGoneBeforeItsOwnTurn)
{
    auto killerProbe = Probe();
    auto victimProbe = Probe();
    auto afterProbe = Probe();
    auto lastProbe = Probe();
    ECS::IEntity* killer = MakeWithTree("Killer", killerProbe);
    ECS::IEntity* victim = MakeWithTree("Victim", victimProbe);
    ECS::IEntity* after = MakeWithTree("After", afterProbe);
    ECS::IEntity* last = MakeWithTree("Last", lastProbe);
    killerProbe->onRun = [&] { AI().killList.push_back(victim); };

    AI().Update(STEP);

    EXPECT_EQ(victimProbe->runs, 0);
    EXPECT_EQ(victim->components.size(), 0u); // back in the pool
    EXPECT_EQ(afterProbe->runs, 1);           // the removal did not make the loop skip it
    EXPECT_TRUE(AI().killList.empty());
    EXPECT_EQ(AI().Entities(), (std::vector<ECS::IEntity*>{killer, after, last}));

    // A tree that removes an entity already passed shifts the rest down under the loop.
    killerProbe->onRun = nullptr;
    afterProbe->onRun = [&] { AI().killList.push_back(killer); };
    AI().Update(STEP);
    EXPECT_EQ(lastProbe->runs, 2);
    EXPECT_EQ(AI().Entities(), (std::vector<ECS::IEntity*>{after, last}));
}

TEST_F(AISystemTest, AnInactiveEntitysTreeIsBuiltOnItsFirstActiveStep)
{
    ECS::IEntity* spawner = Make<ECS::BehaviourComponent>("Spawner");
    auto* behaviour = spawner->GetComponent<ECS::BehaviourComponent>();
    behaviour->type = ECS::SPAWNER;
    spawner->gameObjectActive = false;

    Frames(3);
    EXPECT_EQ(behaviour->tree, nullptr);

    spawner->gameObjectActive = true;
    behaviour->enabled = false;
    Frames(1);
    EXPECT_EQ(behaviour->tree, nullptr);

    behaviour->enabled = true;
    AI().Update(0.0f);
    EXPECT_EQ(behaviour->tree, nullptr) << "a step of no time (a paused game) runs no tree";
    Frames(1);
    ASSERT_NE(behaviour->tree, nullptr);
    EXPECT_EQ(behaviour->tree->floatVariables.count("SpawnCount"), 1u);

    auto built = behaviour->tree;
    Frames(2);
    EXPECT_EQ(behaviour->tree, built); // built once, reused
}

TEST_F(AISystemTest, AThrowingTreeIsLoggedByNameAndTheOthersStillTick)
{
    auto thrower = Probe();
    thrower->onRun = [] { throw std::runtime_error("broken"); };
    auto nextProbe = Probe();
    MakeWithTree("Broken Enemy", thrower);
    MakeWithTree("Fine Enemy", nextProbe);
    engine->logger.Clear();

    AI().Update(STEP);

    EXPECT_EQ(nextProbe->runs, 1);
    EXPECT_EQ(engine->logger.Lines(),
              (std::vector<std::string>{"Something is wrong with Broken Enemy",
                                        "AI: behaviour of Broken Enemy stopped: broken"}));
}

TEST_F(AISystemTest, CopiedComponentsTickOneTreeAndShareItsBlackboards)
{
    ECS::IEntity* original = Make<ECS::BehaviourComponent>("Original");
    auto* behaviour = original->GetComponent<ECS::BehaviourComponent>();
    behaviour->type = ECS::SPAWNER;
    Frames(1);
    ASSERT_NE(behaviour->tree, nullptr);

    ECS::IEntity* copy = engine->entities->CreateEntity("Copy");
    copy->AddComponent<ECS::Transform>();
    copy->AddComponent(behaviour->Clone());
    CurrentScene().AddEntity(copy);

    auto* copied = copy->GetComponent<ECS::BehaviourComponent>();
    EXPECT_EQ(copied->type, ECS::SPAWNER);
    EXPECT_EQ(copied->tree, behaviour->tree);
    behaviour->tree->floatVariables["SpawnCount"] = 7.0f;
    EXPECT_EQ(copied->tree->floatVariables.at("SpawnCount"), 7.0f);

    // Both entities now tick the same root.
    auto probe = Probe();
    behaviour->tree->child = probe;
    AI().Update(STEP);
    EXPECT_EQ(probe->runs, 2);
}

// The table through which a game gives the engine its behaviour trees.
TEST_F(AISystemTest, TreeBuildersAreFoundByTypeOrNameALaterOneReplacesAndAnUnknownTypeBuildsNothing)
{
    // The test main registered the game's enemies.
    EXPECT_EQ(TreeBuilders::Find(ECS::TURRET), &Game::BuildTurret);
    EXPECT_EQ(TreeBuilders::Find("Spawner"), &Game::BuildSpawner);
    EXPECT_EQ(TreeBuilders::Find("Dragon"), nullptr);

    TreeBuilders::Register(ECS::TURRET, "Cannon", FakeBuilder);
    EXPECT_EQ(TreeBuilders::Find(ECS::TURRET), &FakeBuilder);
    EXPECT_EQ(TreeBuilders::Find("Turret"), nullptr) << "the type's old entry is gone";
    ECS::IEntity entity;
    ECS::BehaviourComponent behaviour;
    behaviour.type = ECS::TURRET;
    TreeBuilders::Build(entity, behaviour, engine->services);
    EXPECT_EQ(fakeBuilds, 1);

    behaviour.type = static_cast<ECS::BehaviourType>(99);
    TreeBuilders::Build(entity, behaviour, engine->services);
    EXPECT_EQ(fakeBuilds, 1);
    EXPECT_EQ(behaviour.tree, nullptr);

    Game::RegisterEnemies();
    EXPECT_EQ(TreeBuilders::Find(ECS::TURRET), &Game::BuildTurret);
}

TEST(Node, SelectorAndSequenceStopWhereTheirRuleSaysAndTheBlackboardKeepsEntriesWhereTheyAre)
{
    auto first = Probe(Failure), second = Probe(static_cast<NodeStatus>(0)), third = Probe(Success);
    Selector selector{first, second, third};
    EXPECT_EQ(selector.Run(), 0); // a non-failure is passed up as it is
    EXPECT_EQ(first->runs, 1);
    EXPECT_EQ(second->runs, 1);
    EXPECT_EQ(third->runs, 0);

    Selector allFail{Probe(Failure), Probe(Failure)};
    EXPECT_EQ(allFail.Run(), Failure);

    // A sequence stops at the first failure and runs on past other results.
    auto zero = Probe(static_cast<NodeStatus>(0)), fail = Probe(Failure), after = Probe(Success);
    Sequence sequence{zero, fail, after};
    EXPECT_EQ(sequence.Run(), Failure);
    EXPECT_EQ(zero->runs, 1);
    EXPECT_EQ(fail->runs, 1);
    EXPECT_EQ(after->runs, 0);

    fail->status = Success;
    EXPECT_EQ(sequence.Run(), Success);
    EXPECT_EQ(after->runs, 1);

    // Blackboard entries stay where they are, with their values, as the tree adds more.
    AI::BehaviourTree tree;
    float* life = tree.Float("Life", 3.0f);
    for (int i = 0; i < 100; ++i)
    {
        tree.Float("Filler" + std::to_string(i)); // forces rehashing
    }
    EXPECT_EQ(tree.Float("Life", 99.0f), life);
    EXPECT_EQ(*life, 3.0f);
    *life = 1.0f;
    EXPECT_EQ(tree.floatVariables.at("Life"), 1.0f);
    EXPECT_EQ(tree.Run(), Failure); // no root yet
}

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

TEST_F(LeavesTest, AKilledWatchReadsZeroAndCannotBeRestartedAndCreatePrefabPlacesTheInstance)
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

    // CreatePrefab goes through the loader, at the anchor or at its own place.
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
