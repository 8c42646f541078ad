#include "ai/AITestSupport.h"
#include "ecs/RigidBody.h"

namespace Varn::Test
{
namespace
{

using SpawnerTest = AITest;

TEST_F(SpawnerTest, APlayerInTheAreaGetsOneSpawnEveryFiveSecondsCounted)
{
    RecordPrefabs();
    ECS::IEntity* spawner = Make<ECS::BehaviourComponent>("Spawner", {0, 0, 0, 0});
    spawner->layer = 3;
    spawner->GetComponent<ECS::BehaviourComponent>()->type = ECS::SPAWNER;
    // The area reports overlaps only with a script, as every trigger does.
    ECS::IEntity* area =
        Make<ECS::BoxCollider2D, ECS::ScriptComponent>("Area", {0, 0, 0, 0}, {400, 400, 1, 0}, spawner);
    area->GetComponent<ECS::BoxCollider2D>()->isTrigger = true;
    area->layer = 3;
    ECS::IEntity* player = Make<ECS::RigidBody, ECS::BoxCollider2D>("Player", {}, {50, 50, 1, 0});
    player->GetComponent<ECS::RigidBody>()->gravityScale = 0.0f;
    player->layer = 3;
    auto SpawnCount = [&]
    { return spawner->GetComponent<ECS::BehaviourComponent>()->tree->floatVariables.at("SpawnCount"); };

    Frames(290);
    EXPECT_TRUE(created.empty());
    Frames(20); // 5 s since the tree was built
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0], "Resources\\Prefabs\\FishieNew.prefab");
    EXPECT_EQ(SpawnCount(), 1.0f);
    ECS::IEntity* fishie = CurrentScene().entities.back();
    EXPECT_EQ(fishie->layer, 3u);

    Frames(280);
    EXPECT_EQ(created.size(), 1u);
    Frames(20);
    EXPECT_EQ(created.size(), 2u);
    EXPECT_EQ(SpawnCount(), 2.0f);
}

} // namespace
} // namespace Varn::Test
