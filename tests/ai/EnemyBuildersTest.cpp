#include "ai/EnemyBuilders.h"
#include "ai/AITestSupport.h"
#include "core/FilePath.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace Varn::Test
{
namespace
{

using EnemyBuildersTest = AITest;

bool ContentExists(const std::string& path)
{
    return std::filesystem::exists(std::filesystem::path(CORVALUNE_SOURCE_DIR) / Helper::NativePath(path));
}

TEST_F(EnemyBuildersTest, EveryContentFileTheTreesNameIsShipped)
{
    for (auto type :
         {Component::PATROLLING_MELEE, Component::TURRET, Component::FLYING_BOMBER, Component::SPAWNER})
    {
        ECS::IEntity* enemy = Make("Enemy");
        Component::BehaviourComponent behaviour;
        behaviour.type = type;
        Behaviours::BuildTree(*enemy, behaviour);
        ASSERT_NE(behaviour.tree, nullptr) << "type " << type;
        for (const auto& [role, path] : behaviour.tree->stringVariables)
        {
            EXPECT_TRUE(ContentExists(path)) << role << " → " << path;
        }
    }
    for (const char* path :
         {"Resources\\Prefabs\\ParticleExplosionSmall.prefab",
          "Resources\\Audio\\SFX\\Explosion_CTE01_56.1.ogg",
          "Resources\\Audio\\SFX\\HORROR_GEN-HDF-14514.ogg", "Resources\\Prefabs\\SnailSparks.prefab",
          "Resources\\Prefabs\\SnailShellBreak1.prefab", "Resources\\Prefabs\\SnailShellBreak4.prefab",
          "Resources\\Prefabs\\FishieNew.prefab"})
    {
        EXPECT_TRUE(ContentExists(path)) << path;
    }
}

TEST_F(EnemyBuildersTest, BuildersStartFromTheirInitialBlackboardsAndOwnStopwatches)
{
    ECS::IEntity* enemy = Make("Enemy");
    Component::BehaviourComponent behaviour;
    const std::size_t before = engine->timer->Counters().size();
    behaviour.type = Component::PATROLLING_MELEE;
    Behaviours::BuildTree(*enemy, behaviour);
    EXPECT_EQ(engine->timer->Counters().size(), before + 3);
    EXPECT_EQ(behaviour.tree->floatVariables.at("Life"), 3.0f);
    EXPECT_TRUE(behaviour.tree->boolVariables.at("Patroling"));
    EXPECT_FALSE(behaviour.tree->boolVariables.at("PatrolLeft"));

    auto previous = behaviour.tree;
    behaviour.type = Component::TURRET;
    Behaviours::BuildTree(*enemy, behaviour);
    EXPECT_NE(behaviour.tree, previous); // a rebuild replaces the tree
    EXPECT_EQ(behaviour.tree->floatVariables.at("Life"), 10.0f);
    EXPECT_EQ(behaviour.tree->floatVariables.at("Chain Firing TImer"), 0.15f);
    EXPECT_EQ(behaviour.tree->floatVariables.at("ChargeFiringTimer"), 1.8f);

    behaviour.type = Component::FLYING_BOMBER;
    Behaviours::BuildTree(*enemy, behaviour);
    EXPECT_EQ(behaviour.tree->floatVariables.at("GlidingTime"), 1.85f);
    EXPECT_EQ(behaviour.tree->floatVariables.at("BombingState"), 0.0f);
}

} // namespace
} // namespace Varn::Test
