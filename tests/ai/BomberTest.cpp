#include "ai/AITestSupport.h"
#include "ai/PrefabSpawner.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "resource/ResourceManager.h"

#include <gtest/gtest.h>

#include <algorithm>

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
        Behaviours::SetPrefabLoader(
            [this](const std::string& path, const Math::Vector4& position)
            {
                created.push_back(path);
                return Make("Instance", position);
            });
        bomber = Make<Component::RigidBody, Component::BoxCollider2D, Component::SpriteRenderer,
                      Component::BehaviourComponent>("Bomber", {0, 500, 0, 0}, {100, 60, 1, 0});
        auto* body = bomber->GetComponent<Component::RigidBody>();
        body->gravityScale = 0.0f;
        body->drag = 1.0f;
        bomber->GetComponent<Component::BehaviourComponent>()->type = Component::FLYING_BOMBER;
    }
    void TearDown() override
    {
        Behaviours::SetPrefabLoader({});
        AITest::TearDown();
    }

    int Count(const std::string& path) const
    {
        return static_cast<int>(std::count(created.begin(), created.end(), path));
    }
    Component::Transform& Xf() const { return *bomber->GetComponent<Component::Transform>(); }
    Component::SpriteRenderer& Sprite() const { return *bomber->GetComponent<Component::SpriteRenderer>(); }
    bool ShowsTexture(const char* path) const
    {
        return Sprite().texture == engine->resources->GetTexture(path);
    }

    // Keeps a shot on the flying bomber for `frames` frames.
    void Follow(ECS::IEntity* shot, int frames)
    {
        for (int i = 0; i < frames; ++i)
        {
            shot->GetComponent<Component::Transform>()->position = Xf().position;
            Frames(1);
        }
    }

    ECS::IEntity* bomber = nullptr;
    std::vector<std::string> created;
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
    EXPECT_LT(bomber->GetComponent<Component::RigidBody>()->velocity.y, 0.0f) << "sinks while gliding";
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
    EXPECT_TRUE(bomber->GetComponent<Component::BehaviourComponent>()->tree->boolVariables.at("Direction"));
    // Without drag the push now brakes the flight and then carries it back.
    const float speedAtTurn = bomber->GetComponent<Component::RigidBody>()->velocity.x;
    Frames(300);
    EXPECT_LT(bomber->GetComponent<Component::RigidBody>()->velocity.x, speedAtTurn - 1.0f);
}

TEST_F(BomberTest, HitsWithinTheInvulnerableSpellCountOnceAndThreeKillIt)
{
    Frames(1);
    float& life = bomber->GetComponent<Component::BehaviourComponent>()->tree->floatVariables.at("Life");
    ECS::IEntity* bullet =
        Make<Component::BoxCollider2D, Component::ScriptComponent>("Bullet", Xf().position, {20, 20, 1, 0});
    bullet->GetComponent<Component::BoxCollider2D>()->isTrigger = true;
    Follow(bullet, 10); // the bullet lingers: one hit only
    EXPECT_EQ(life, 2.0f);
    Follow(bullet, 30); // past 0.5 s: it counts again
    EXPECT_EQ(life, 1.0f);
    Follow(bullet, 31);
    EXPECT_EQ(life, 0.0f);
    CurrentScene().RemoveEntity(bullet, false);
    Frames(1);
    EXPECT_TRUE(bomber->GetComponent<Component::BehaviourComponent>()->tree->boolVariables.at("Dead"));
    Frames(80);
    EXPECT_TRUE(bomber->components.empty()) << "faded to half and removed";
}

} // namespace
} // namespace Varn::Test
