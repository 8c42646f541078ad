// The game's enemies, each alone with what it reacts to, run through the engine's real frames.
#include "ai/AITestSupport.h"
#include "ecs/Animator.h"
#include "ecs/RigidBody.h"
#include "ecs/SpriteRenderer.h"
#include "resource/ResourceManager.h"
#include "scene/JSONManager.h"

namespace Varn::Test
{
namespace
{

class BomberTest : public AITest
{
protected:
    void SetUp() override
    {
        AITest::SetUp();
        RecordPrefabs();
        bomber = Make<ECS::RigidBody, ECS::BoxCollider2D, ECS::SpriteRenderer, ECS::BehaviourComponent>(
            "Bomber", {0, 500, 0, 0}, {100, 60, 1, 0});
        auto* body = bomber->GetComponent<ECS::RigidBody>();
        body->gravityScale = 0.0f;
        body->drag = 1.0f;
        bomber->GetComponent<ECS::BehaviourComponent>()->type = ECS::FLYING_BOMBER;
    }
    ECS::Transform& Xf() const { return *bomber->GetComponent<ECS::Transform>(); }
    ECS::SpriteRenderer& Sprite() const { return *bomber->GetComponent<ECS::SpriteRenderer>(); }
    bool ShowsTexture(const char* path) const
    {
        return Sprite().texture == engine->resources->GetTexture(path);
    }

    ECS::IEntity* bomber = nullptr;
};

TEST_F(BomberTest, ItFliesTurnsAfterItsLegAndDropsBombAndTarget)
{
    Frames(120);
    const float afterTwoSeconds = Xf().position.x;
    EXPECT_GT(afterTwoSeconds, 0.0f);
    EXPECT_FALSE(Xf().flipX);
    EXPECT_EQ(created.size(), 0u);

    Frames(125); // 4.08 s: gliding
    EXPECT_TRUE(ShowsTexture("Resources\\Sprites\\Bomber\\grunt_bomber_glide_latchclosed.dds"));
    EXPECT_LT(bomber->GetComponent<ECS::RigidBody>()->velocity.y, 0.0f) << "sinks while gliding";
    EXPECT_EQ(created.size(), 0u);

    Frames(115); // past 4.0 + 1.85 s: the hatch opened and dropped once
    EXPECT_EQ(Count("Resources\\Prefabs\\Bomb.prefab"), 1);
    EXPECT_EQ(Count("Resources\\Prefabs\\Target.prefab"), 1);
    EXPECT_TRUE(ShowsTexture("Resources\\Sprites\\Bomber\\grunt_bomber_glide_releaseclose.dds"));

    Frames(120); // hatch closed: flying again, nothing more dropped
    EXPECT_TRUE(ShowsTexture("Resources\\Sprites\\Bomber\\grunt_bomber_fly.dds"));
    EXPECT_EQ(created.size(), 2u);

    Frames(430); // past the 15 s leg
    EXPECT_TRUE(Xf().flipX);
    EXPECT_TRUE(bomber->GetComponent<ECS::BehaviourComponent>()->tree->boolVariables.at("Direction"));
    // Without drag the push now brakes the flight and then carries it back.
    const float speedAtTurn = bomber->GetComponent<ECS::RigidBody>()->velocity.x;
    Frames(300);
    EXPECT_LT(bomber->GetComponent<ECS::RigidBody>()->velocity.x, speedAtTurn - 1.0f);
}

class MeleeEnemyTest : public AITest
{
protected:
    void SetUp() override
    {
        AITest::SetUp();
        for (const char* tag : {"Default", "Wall", "Enemy", "Player", "Smash"})
        {
            engine->jsonManager->RegisterTag(tag);
        }
        ECS::IEntity* floor = Make<ECS::BoxCollider2D>("Floor", {0, 0, 0, 0}, {4000, 40, 1, 0});
        floor->tags = engine->jsonManager->TagValue("Wall");
        enemy = Make<ECS::RigidBody, ECS::BoxCollider2D, ECS::SpriteRenderer, ECS::BehaviourComponent>(
            "Grunt", {0, 61, 0, 0}, {60, 80, 1, 0});
        enemy->tags = engine->jsonManager->TagValue("Enemy");
        auto* behaviour = enemy->GetComponent<ECS::BehaviourComponent>();
        behaviour->type = ECS::PATROLLING_MELEE;
        // Colliders get their size in the first physics step; before it the look-ahead rays
        // would see no floor. Let the world settle for one step first.
        behaviour->enabled = false;
        Frames(1);
        behaviour->enabled = true;
    }

    ECS::IEntity* MakeWall(float x)
    {
        ECS::IEntity* wall = Make<ECS::BoxCollider2D>("Wall", {x, 120, 0, 0}, {40, 200, 1, 0});
        wall->tags = engine->jsonManager->TagValue("Wall");
        return wall;
    }

    ECS::Transform& Xf() const { return *enemy->GetComponent<ECS::Transform>(); }
    AI::BehaviourTree& Tree() const { return *enemy->GetComponent<ECS::BehaviourComponent>()->tree; }

    ECS::IEntity* enemy = nullptr;
};

TEST_F(MeleeEnemyTest, APatrolMeetingAWallIdlesOneSecondAndWalksBack)
{
    MakeWall(500);
    Frames(1);
    const auto& patrolLeft = Tree().boolVariables.at("PatrolLeft");
    auto* sprite = enemy->GetComponent<ECS::SpriteRenderer>();

    // Walk right until the wall is within reach of the look-ahead ray.
    const Resource::Texture2D* idle =
        engine->resources->GetTexture("Resources\\Sprites\\Grunt1\\grunt_idle.dds");
    const int frames = FramesUntil([&] { return sprite->texture == idle; }, 1200);
    ASSERT_LT(frames, 1200) << "never reached the wall, x = " << Xf().position.x;
    EXPECT_GT(Xf().position.x, 300.0f);
    EXPECT_LT(Xf().position.x, 450.0f);
    EXPECT_FALSE(Xf().flipX);
    const float stopX = Xf().position.x;

    Frames(50); // idling: no further step towards the wall, still facing it
    EXPECT_FALSE(patrolLeft);
    EXPECT_NEAR(Xf().position.x, stopX, 5.0f);

    Frames(20); // past 1.0 s: turned round
    EXPECT_TRUE(patrolLeft);
    EXPECT_TRUE(Xf().flipX);

    Frames(120);
    EXPECT_LT(Xf().position.x, stopX - 50.0f);
    EXPECT_EQ(sprite->texture, engine->resources->GetTexture("Resources\\Sprites\\Grunt1\\grunt_walk.dds"));
}

TEST_F(MeleeEnemyTest, ThreeBulletsKillItAndTheDeathFadeRemovesIt)
{
    int explosions = 0;
    UseLoader(
        [&](const std::string& path, const Vector4&) -> ECS::IEntity*
        {
            explosions += path == "Resources\\Prefabs\\ParticleExplosionSmall.prefab";
            return nullptr;
        });
    Frames(1);
    float& life = Tree().floatVariables.at("Life");
    EXPECT_EQ(life, 3.0f);

    HitOnce("Bullet", enemy);
    EXPECT_EQ(life, 2.0f);
    EXPECT_EQ(enemy->GetComponent<ECS::SpriteRenderer>()->tint.g, 0.3f);
    Frames(10);
    EXPECT_EQ(enemy->GetComponent<ECS::SpriteRenderer>()->tint.g, 1.0f) << "the flash is over";
    HitOnce("Bullet", enemy);
    EXPECT_EQ(life, 1.0f);
    HitOnce("Bullet", enemy); // within 0.05 s of the last hit: the same impact
    EXPECT_EQ(life, 1.0f);
    Frames(3);
    HitOnce("Bullet", enemy);
    EXPECT_EQ(life, 0.0f);
    Frames(1); // death starts on the next tick
    EXPECT_TRUE(Tree().boolVariables.at("Dead"));

    const std::size_t watches = engine->timer->Counters().size();
    const int frames = FramesUntil([&] { return enemy->components.empty(); }, 600);
    EXPECT_TRUE(enemy->components.empty()) << "faded out and removed";
    EXPECT_NEAR(frames, 69, 3); // 1 % opacity per step down to one half
    EXPECT_EQ(explosions, 1);
    EXPECT_EQ(engine->timer->Counters().size(), watches - 3);
}

TEST_F(MeleeEnemyTest, APlayerInReachIsStruckOncePerStrikeFrameThroughTheMeleeCollider)
{
    auto* animator = enemy->AddComponent<ECS::Animator>();
    animator->animationList = {ECS::Animation(15, 15, "Attack", true)}; // holds the strike frame
    ECS::IEntity* reach = Make<ECS::BoxCollider2D>("Reach", {2.5f, 0, 0, 0}, {2.5f, 1, 1, 0}, enemy);
    reach->GetComponent<ECS::BoxCollider2D>()->isTrigger = true;
    ECS::IEntity* player = Make<ECS::RigidBody, ECS::BoxCollider2D, ECS::ScriptComponent>(
        "Player", {62, 61, 0, 0}, {60, 80, 1, 0});
    auto& floats = player->GetComponent<ECS::ScriptComponent>()->floatList;
    floats["PlayerArmour"] = 0.0f;
    floats["PlayerHealth"] = 5.0f;

    Frames(5); // sees the player, stops and swings
    EXPECT_FALSE(Tree().boolVariables.at("Patroling"));
    EXPECT_TRUE(Tree().boolVariables.at("PrefabOn"));
    EXPECT_TRUE(reach->gameObjectActive);
    EXPECT_EQ(enemy->GetComponent<ECS::SpriteRenderer>()->texture,
              engine->resources->GetTexture("Resources\\Sprites\\Grunt1\\grunt_attack.dds"));
    EXPECT_EQ(floats["PlayerHealth"], 5.0f) << "the collider does not touch the player yet";
    EXPECT_EQ(reach->GetComponent<ECS::BoxCollider2D>()->offset.x, 24.0f) << "the claw is ahead";

    // The blow lands through the collider's trigger list; ticks run here without physics so the
    // list stays as set.
    reach->GetComponent<ECS::BoxCollider2D>()->triggerEntities = {player};
    for (int i = 0; i < 5; ++i)
    {
        AI().Update(STEP);
    }
    EXPECT_EQ(floats["PlayerHealth"], 4.0f) << "one blow while the frame holds";

    animator->currentAnimation->currentFrame = 14; // the swing goes round again
    AI().Update(STEP);
    animator->currentAnimation->currentFrame = 15;
    AI().Update(STEP);
    EXPECT_EQ(floats["PlayerHealth"], 3.0f);

    // Out of sight behind it: back to the patrol, collider off.
    player->GetComponent<ECS::Transform>()->position = {-1500, 61, 0, 0};
    Frames(2);
    EXPECT_TRUE(Tree().boolVariables.at("Patroling"));
    EXPECT_FALSE(Tree().boolVariables.at("PrefabOn"));
    EXPECT_FALSE(reach->gameObjectActive);
}

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
