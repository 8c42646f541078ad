#include "ai/AITestSupport.h"
#include "ecs/RigidBody.h"
#include "ecs/SpriteRenderer.h"
#include "resource/ResourceManager.h"
#include "scene/JSONManager.h"

namespace Varn::Test
{
namespace
{

class TurretTest : public AITest
{
protected:
    void SetUp() override
    {
        AITest::SetUp();
        for (const char* tag : {"Default", "Player", "HookChain"})
        {
            engine->jsonManager->RegisterTag(tag);
        }
        RecordPrefabs();
        turret = Make<ECS::RigidBody, ECS::BoxCollider2D, ECS::SpriteRenderer, ECS::BehaviourComponent>(
            "Turret", {0, 0, 0, 0}, {80, 80, 1, 0});
        turret->GetComponent<ECS::RigidBody>()->gravityScale = 0.0f;
        turret->GetComponent<ECS::BehaviourComponent>()->type = ECS::TURRET;
    }
    static constexpr const char* BULLET = "Resources\\Prefabs\\EnemyBullet.prefab";
    ECS::IEntity* turret = nullptr;
};

TEST_F(TurretTest, ItFiresBurstsOnlyWhileThePlayerIsInRange)
{
    ECS::IEntity* player = Make("Player", {3000, 0, 0, 0});
    Frames(300);
    EXPECT_EQ(Count(BULLET), 0) << "out of range";

    player->GetComponent<ECS::Transform>()->position = {-600, 0, 0, 0};
    Frames(100); // 1.67 s: still charging
    EXPECT_EQ(Count(BULLET), 0);
    Frames(10); // 1.8 s charged
    EXPECT_EQ(Count(BULLET), 1);
    Frames(20); // two more, 0.15 s apart
    EXPECT_EQ(Count(BULLET), 3);
    Frames(100);
    EXPECT_EQ(Count(BULLET), 3) << "recharging";
    Frames(8); // 1.8 s after the burst's last shot
    EXPECT_EQ(Count(BULLET), 4);
    EXPECT_FALSE(turret->GetComponent<ECS::Transform>()->flipX) << "a clear flip looks to -x, at the player";

    player->GetComponent<ECS::Transform>()->position = {600, 0, 0, 0};
    Frames(2);
    EXPECT_TRUE(turret->GetComponent<ECS::Transform>()->flipX);
}

TEST_F(TurretTest, AHookChainBreaksTheShellOnceAndTenBulletsDestroyItOnce)
{
    Frames(1);
    const std::size_t watches = engine->timer->Counters().size();
    HitOnce("HookChain", turret);
    EXPECT_EQ(turret->GetComponent<ECS::SpriteRenderer>()->texture,
              engine->resources->GetTexture("Resources\\Sprites\\Turret\\grunt_turret_idle_noshell.dds"));
    EXPECT_EQ(Count("Resources\\Prefabs\\SnailSparks.prefab"), 1);
    for (int i = 1; i <= 4; ++i)
    {
        EXPECT_EQ(Count("Resources\\Prefabs\\SnailShellBreak" + std::to_string(i) + ".prefab"), 1);
    }
    HitOnce("HookChain", turret);
    EXPECT_EQ(created.size(), 5u);
    EXPECT_EQ(turret->GetComponent<ECS::BehaviourComponent>()->tree->floatVariables.at("Life"), 10.0f);

    for (int i = 0; i < 10; ++i)
    {
        HitOnce("Bullet", turret);
        Frames(2);
    }
    EXPECT_TRUE(turret->components.empty());
    EXPECT_EQ(Count("Resources\\Prefabs\\ParticleExplosionSmall.prefab"), 1);
    EXPECT_EQ(engine->timer->Counters().size(), watches - 4);
}

} // namespace
} // namespace Varn::Test
