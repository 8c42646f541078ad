// The table through which a game gives the engine its behaviour trees.
#include "ai/TreeBuilders.h"
#include "ecs/BehaviourComponent.h"
#include "enemies/EnemyBuilders.h"
#include "support/EngineTest.h"

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
} // namespace

using TreeBuilding = EngineTest; // a builder is handed the engine's parts

TEST_F(TreeBuilding, FindByTypeOrNameALaterRegistrationReplacesAndAnUnknownTypeBuildsNothing)
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
