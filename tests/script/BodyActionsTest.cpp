#include "script/ScriptTestSupport.h"

#include "core/Random.h"
#include "ecs/RigidBody.h"
#include "scene/JSONManager.h"

namespace Varn::Test
{

using Component::ForceEntry;
using Component::RigidBody;
using Math::Vector4;

class BodyActions : public ScriptTest
{
protected:
    ECS::IEntity* Body(const std::string& name, const std::string& actions)
    {
        return RunOnce(name, actions, [](ECS::IEntity* e) { e->AddComponent<RigidBody>(); });
    }
    static RigidBody& BodyOf(ECS::IEntity* e) { return *e->GetComponent<RigidBody>(); }
};

TEST_F(BodyActions, ForcesSkipZeroVectorsAndLastForEverWithoutAPositiveDuration)
{
    RigidBody& added =
        BodyOf(Body("Added", "AddForce 0 0 0\nAddForce 10 0 0 -1\nAddForce 0 2 0 0.5\nAddForce 0 0 3"));
    ASSERT_EQ(added.forces.size(), 3u);
    EXPECT_EQ(added.forces[0].force, (Vector4{10, 0, 0, 0}));
    EXPECT_EQ(added.forces[0].timeLeft, ForceEntry::PERMANENT);
    EXPECT_EQ(added.forces[1].timeLeft, 0.5f);
    EXPECT_EQ(added.forces[2].timeLeft, ForceEntry::PERMANENT);

    RigidBody& cleared = BodyOf(Body("Cleared", "AddForce 1 1 0\nSetForce 0 0 0"));
    EXPECT_TRUE(cleared.forces.empty()) << "a zero force only clears";
    RigidBody& set = BodyOf(Body("Set", "AddForce 1 1 0\nSetForce 0 4 0 whatever"));
    ASSERT_EQ(set.forces.size(), 1u);
    EXPECT_EQ(set.forces[0].force, (Vector4{0, 4, 0, 0}));
    EXPECT_EQ(set.forces[0].timeLeft, RigidBody::ONE_STEP);

    Body("Short", "AddForce 1 2");
    EXPECT_EQ(Log().back(), "Invalid AddForce parameters in Short.");
    RunOnce("Bodiless", "AddForce 1 0 0");
    EXPECT_EQ(Log().back(), "Missing RigidBody component in Bodiless.");
}

TEST_F(BodyActions, ForwardVelocityTurnsWithTheEntityAndItsMirror)
{
    auto turned = [](float degrees, bool flip)
    {
        return [degrees, flip](ECS::IEntity* e)
        {
            e->AddComponent<RigidBody>();
            auto* transform = e->GetComponent<Component::Transform>();
            transform->angle.z = degrees;
            transform->flipX = flip;
        };
    };
    const Vector4 up = BodyOf(RunOnce("Up", "SetForwardVelocity 5 0 0", turned(90, false))).velocity;
    EXPECT_NEAR(up.x, 0.0f, 1e-5f);
    EXPECT_NEAR(up.y, 5.0f, 1e-5f);
    const Vector4 back = BodyOf(RunOnce("Back", "SetForwardVelocity 5 1 0", turned(0, true))).velocity;
    EXPECT_NEAR(back.x, -5.0f, 1e-5f) << "a mirrored entity faces the other way";
    EXPECT_NEAR(back.y, -1.0f, 1e-5f);

    const Vector4 added = BodyOf(Body("Adder", "SetVelocity 1 2 3\nAddVelocity 1 1 1")).velocity;
    EXPECT_EQ(added, (Vector4{2, 3, 4, 0}));
}

TEST_F(BodyActions, IgnoredTagsAreAddedOnceAndForgottenAllAtOnce)
{
    const uint64_t player = engine->jsonManager->RegisterTag("Player");
    const uint64_t enemy = engine->jsonManager->RegisterTag("Enemy");
    ASSERT_NE(player, enemy);
    RigidBody& body = BodyOf(Body("Ghost", "IgnoreCollision true Enemy\nIgnoreCollision true Enemy\n"
                                           "IgnoreCollision true Player"));
    EXPECT_EQ(body.ignoreTags, (std::vector<uint64_t>{enemy, player}));
    RigidBody& forgetful =
        BodyOf(Body("Solid", "IgnoreCollision true Enemy\nIgnoreCollision false Anything"));
    EXPECT_TRUE(forgetful.ignoreTags.empty());
}

TEST_F(BodyActions, YeetFlingsWithTwoDrawsAndTiltsQuietlyOrDoesNothing)
{
    float draws[] = {0.25f, 0.5f};
    int next = 0;
    Helper::SetRandomFractionSource([&] { return draws[next++ % 2]; });
    ECS::IEntity* e = Body("Goner", "AddForce 1 0 0\nYeet whatever");
    Helper::SetRandomFractionSource({});
    RigidBody& body = BodyOf(e);
    ASSERT_EQ(body.forces.size(), 1u);
    EXPECT_EQ(body.forces[0].force, (Vector4{300, 200, 0, 0}))
        << "the first draw goes up, the second sideways";
    EXPECT_EQ(body.forces[0].timeLeft, RigidBody::ONE_STEP);
    EXPECT_EQ(e->GetComponent<Component::Transform>()->angle, (Vector4{0, 0, 10, 0}));

    const std::size_t lines = Log().size();
    ECS::IEntity* plain = RunOnce("Plain", "Yeet");
    EXPECT_EQ(Log().size(), lines) << "no body, no message";
    EXPECT_EQ(plain->GetComponent<Component::Transform>()->angle, (Vector4{0, 0, 0, 0}));
}

} // namespace Varn::Test
