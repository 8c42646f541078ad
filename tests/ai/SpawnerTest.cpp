#include "ai/AITestSupport.h"
#include "ai/PrefabSpawner.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"

#include <gtest/gtest.h>

namespace Varn::Test
{
namespace
{

class SpawnerTest : public AITest
{
protected:
    void SetUp() override
    {
        AITest::SetUp();
        previousLoader = Behaviours::SetPrefabLoader(
            [this](const std::string& path, const Math::Vector4& position)
            {
                spawnedPaths.push_back(path);
                return Make("Fishie", position);
            });
    }
    void TearDown() override
    {
        Behaviours::SetPrefabLoader(previousLoader);
        AITest::TearDown();
    }

    Behaviours::PrefabLoader previousLoader;

    ECS::IEntity* MakeSpawner(bool withArea)
    {
        spawner = Make<Component::BehaviourComponent>("Spawner", {0, 0, 0, 0});
        spawner->layer = 3;
        spawner->GetComponent<Component::BehaviourComponent>()->type = Component::SPAWNER;
        if (withArea)
        {
            // The area reports overlaps only with a script, as every trigger does.
            ECS::IEntity* area = Make<Component::BoxCollider2D, Component::ScriptComponent>(
                "Area", {0, 0, 0, 0}, {400, 400, 1, 0}, spawner);
            area->GetComponent<Component::BoxCollider2D>()->isTrigger = true;
            area->layer = 3;
        }
        return spawner;
    }

    ECS::IEntity* MakePlayer(Math::Vector4 at)
    {
        ECS::IEntity* player =
            Make<Component::RigidBody, Component::BoxCollider2D>("Player", at, {50, 50, 1, 0});
        player->GetComponent<Component::RigidBody>()->gravityScale = 0.0f;
        player->layer = 3;
        return player;
    }

    float SpawnCount() const
    {
        return spawner->GetComponent<Component::BehaviourComponent>()->tree->floatVariables.at("SpawnCount");
    }

    ECS::IEntity* spawner = nullptr;
    std::vector<std::string> spawnedPaths;
};

TEST_F(SpawnerTest, APlayerInTheAreaGetsOneSpawnEveryFiveSecondsCounted)
{
    MakeSpawner(true);
    MakePlayer({0, 0, 0, 0});

    Frames(290);
    EXPECT_TRUE(spawnedPaths.empty());
    Frames(20); // 5 s since the tree was built
    ASSERT_EQ(spawnedPaths.size(), 1u);
    EXPECT_EQ(spawnedPaths[0], "Resources\\Prefabs\\FishieNew.prefab");
    EXPECT_EQ(SpawnCount(), 1.0f);
    ECS::IEntity* fishie = CurrentScene().entities.back();
    EXPECT_EQ(fishie->layer, 3u);

    Frames(280);
    EXPECT_EQ(spawnedPaths.size(), 1u);
    Frames(20);
    EXPECT_EQ(spawnedPaths.size(), 2u);
    EXPECT_EQ(SpawnCount(), 2.0f);
}

TEST_F(SpawnerTest, APlayerOutsideTheAreaSpawnsNothingAndEnteringLateSpawnsAtOnce)
{
    MakeSpawner(true);
    ECS::IEntity* player = MakePlayer({2000, 0, 0, 0});
    Frames(400);
    EXPECT_TRUE(spawnedPaths.empty());

    player->GetComponent<Component::Transform>()->position = {0, 0, 0, 0};
    Frames(3); // the overlap is seen one step after physics finds it
    EXPECT_EQ(spawnedPaths.size(), 1u);
    EXPECT_EQ(SpawnCount(), 1.0f);
}

} // namespace
} // namespace Varn::Test
