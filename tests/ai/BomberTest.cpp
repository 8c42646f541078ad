#include "ai/AITestSupport.h"
#include "ecs/RigidBody.h"
#include "ecs/SpriteRenderer.h"
#include "resource/ResourceManager.h"

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

} // namespace
} // namespace Varn::Test
