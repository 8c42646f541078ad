#include "ai/AITestSupport.h"
#include "ai/TreeBuilders.h"
#include "enemies/EnemyBuilders.h"

#include <stdexcept>

namespace Varn::Test
{
using AI::TreeBuilders;

namespace
{
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
    ECS::IEntity* killer = MakeWithTree("Killer", killerProbe);
    ECS::IEntity* victim = MakeWithTree("Victim", victimProbe);
    ECS::IEntity* after = MakeWithTree("After", afterProbe);
    killerProbe->onRun = [&] { AI().killList.push_back(victim); };

    AI().Update(STEP);

    EXPECT_EQ(victimProbe->runs, 0);
    EXPECT_EQ(victim->components.size(), 0u); // back in the pool
    EXPECT_EQ(afterProbe->runs, 1);           // the removal did not make the loop skip it
    EXPECT_TRUE(AI().killList.empty());
    EXPECT_EQ(AI().Entities(), (std::vector<ECS::IEntity*>{killer, after}));
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

} // namespace

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

} // namespace Varn::Test
