#include "script/ScriptTestSupport.h"

#include "scene/JSONManager.h"

#include "core/Random.h"
#include "ecs/Camera.h"
#include "ecs/RigidBody.h"

namespace Varn::Test
{

using ECS::ForceEntry;
using ECS::RigidBody;

// Actions that move entities: transforms, the camera and rigid bodies.
class TransformActions : public ScriptTest
{
protected:
    ECS::IEntity* Body(const std::string& name, const std::string& actions)
    {
        return Once(name, actions, "", [](ECS::IEntity* e) { e->AddComponent<RigidBody>(); });
    }
    static ECS::Transform& TransformOf(ECS::IEntity* e) { return *e->GetComponent<ECS::Transform>(); }
    static RigidBody& BodyOf(ECS::IEntity* e) { return *e->GetComponent<RigidBody>(); }
};

TEST_F(TransformActions, TranslateRotateAndScaleUseTheStepOnlyWhenAskedWhileSettersReplaceXYZ)
{
    // Each runs its actions in one step of half a second.
    const auto halfSecond = [this](const std::string& name, const std::string& actions)
    {
        ECS::IEntity* e = Compiled(name, "[Event] Initialize\n[Action]\n" + actions + "\n[End]");
        Scripts().Update(0.5f);
        return e;
    };
    ECS::IEntity* plain = halfSecond("Plain", "Translate 1 0 0\nTranslate 0 2 0");
    ECS::IEntity* fixed = halfSecond("Fixed", "Translate 1 0 3 fixed");
    EXPECT_FLOAT_EQ(TransformOf(plain).position.x, 0.016666668f);
    EXPECT_FLOAT_EQ(TransformOf(plain).position.y, 2.0f * 0.016666668f);
    EXPECT_FLOAT_EQ(TransformOf(fixed).position.x, 0.5f);
    EXPECT_FLOAT_EQ(TransformOf(fixed).position.z, 1.5f);

    ECS::IEntity* e = halfSecond("Hero", "Rotate 0 0 90\nScale 2 0 0\nSetPosition 3 4 5");
    EXPECT_EQ(TransformOf(e).angle, (Vector4{0, 0, 45, 0}));
    EXPECT_EQ(TransformOf(e).scale.y, 1.0f);
    EXPECT_EQ(TransformOf(e).position, (Vector4{3, 4, 5, 0}));
}

TEST_F(TransformActions, LookAtTurnsTheFacingSideMirrorsWhenFlippedAndFindsOneEntityByIdOrName)
{
    ECS::IEntity* back = Once("Back", "LookAt -3 0 0");
    EXPECT_FLOAT_EQ(TransformOf(back).angle.z, 180.0f);
    ECS::IEntity* flipped = Compiled("Flipped", "[Event] Initialize\n[Action]\nLookAt 0 5 0\n[End]");
    TransformOf(flipped).flipX = true;
    Step();
    EXPECT_FLOAT_EQ(TransformOf(flipped).angle.z, -90.0f);

    ECS::IEntity* target = Plain("Target");
    TransformOf(target).position = {0, -2, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    EXPECT_FLOAT_EQ(TransformOf(Once("ByName", "LookAt Target")).angle.z, -90.0f);
    EXPECT_FLOAT_EQ(TransformOf(Once("ById", "LookAt " + std::to_string(target->id))).angle.z, -90.0f);
    Once("Lost", "LookAt Nobody");
    EXPECT_EQ(Said().back(), "Something is wrong with Lost");
}

TEST_F(TransformActions, CameraFollowAndParallaxMoveByTheirFractions)
{
    ECS::IEntity* e = Compiled("Cam", "[Event] Initialize\n[Action]\nCameraFollow 10 20 0 3 0.5\n[End]");
    auto* camera = e->AddComponent<ECS::Camera>();
    camera->zoom = 1.0f;
    Step();
    EXPECT_EQ(TransformOf(e).position, (Vector4{5, 10, 0, 0}));
    EXPECT_EQ(camera->zoom, 2.0f);
    EXPECT_EQ(camera->startPosition, (Vector4{5, 10, 0, 0}));
    Once("Hero", "CameraFollow 10 20 0 3 0.5");
    EXPECT_EQ(Said().back(), "Something is wrong with Hero");

    TransformOf(CurrentScene().mainCamera).position = {100, 50, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    ECS::IEntity* hills = Compiled("Hills", "[Event] Initialize\n[Action]\nParallax 20 10 0.5 1 2\n[End]");
    TransformOf(hills).position.z = -4.0f;
    Step();
    EXPECT_EQ(TransformOf(hills).position, (Vector4{41, 22, -4, 0}));
}

TEST_F(TransformActions, ForcesSkipZeroVectorsAndLastForEverWithoutAPositiveDurationAndYeetFlingsWithTwoDraws)
{
    RigidBody& added =
        BodyOf(Body("Added", "AddForce 0 0 0\nAddForce 10 0 0 -1\nAddForce 0 2 0 0.5\nAddForce 0 0 3"));
    ASSERT_EQ(added.forces.size(), 3u);
    EXPECT_EQ(added.forces[0].force, (Vector4{10, 0, 0, 0}));
    EXPECT_EQ(added.forces[0].timeLeft, ForceEntry::PERMANENT);
    EXPECT_EQ(added.forces[1].timeLeft, 0.5f);
    EXPECT_EQ(added.forces[2].timeLeft, ForceEntry::PERMANENT);

    EXPECT_TRUE(BodyOf(Body("Cleared", "AddForce 1 1 0\nSetForce 0 0 0")).forces.empty())
        << "a zero force only clears";
    RigidBody& set = BodyOf(Body("Set", "AddForce 1 1 0\nSetForce 0 4 0 whatever"));
    ASSERT_EQ(set.forces.size(), 1u);
    EXPECT_EQ(set.forces[0].force, (Vector4{0, 4, 0, 0}));
    EXPECT_EQ(set.forces[0].timeLeft, RigidBody::ONE_STEP);
    Once("Bodiless", "AddForce 1 0 0");
    EXPECT_EQ(Log().back(), "Missing RigidBody component in Bodiless.");

    // Yeet flings with two draws and tilts, quietly doing nothing without a body.
    float draws[] = {0.25f, 0.5f};
    int next = 0;
    engine->random.SetFractionSource([&] { return draws[next++ % 2]; });
    ECS::IEntity* e = Body("Goner", "AddForce 1 0 0\nYeet whatever");
    engine->random.SetFractionSource({});
    RigidBody& body = BodyOf(e);
    ASSERT_EQ(body.forces.size(), 1u);
    EXPECT_EQ(body.forces[0].force, (Vector4{300, 200, 0, 0}))
        << "the first draw goes up, the second sideways";
    EXPECT_EQ(body.forces[0].timeLeft, RigidBody::ONE_STEP);
    EXPECT_EQ(TransformOf(e).angle, (Vector4{0, 0, 10, 0}));
    const std::size_t lines = Log().size();
    ECS::IEntity* plain = Once("Plain", "Yeet");
    EXPECT_EQ(Log().size(), lines) << "no body, no message";
    EXPECT_EQ(TransformOf(plain).angle, (Vector4{0, 0, 0, 0}));
}

TEST_F(TransformActions, VelocitiesTurnWithTheEntityAndItsMirrorAndMoveTowardsTheTarget)
{
    ECS::IEntity* up = Compiled("Up", "[Event] Initialize\n[Action]\nSetForwardVelocity 5 0 0\n[End]");
    ECS::IEntity* back = Compiled("Back", "[Event] Initialize\n[Action]\nSetForwardVelocity 5 1 0\n[End]");
    ECS::IEntity* runner = Compiled("Runner", "[Event] Initialize\n[Action]\nMoveTowards 4 5 0 10\n[End]");
    for (ECS::IEntity* e : {up, back, runner})
    {
        e->AddComponent<RigidBody>();
    }
    TransformOf(up).angle.z = 90.0f;
    TransformOf(back).flipX = true;
    TransformOf(runner).position = {1, 1, 0, 0};
    CurrentScene().transformSystem->UpdateAll();
    Step();
    EXPECT_NEAR(BodyOf(up).velocity.x, 0.0f, 1e-5f);
    EXPECT_NEAR(BodyOf(up).velocity.y, 5.0f, 1e-5f);
    EXPECT_NEAR(BodyOf(back).velocity.x, -5.0f, 1e-5f) << "a mirrored entity faces the other way";
    EXPECT_NEAR(BodyOf(back).velocity.y, -1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(BodyOf(runner).velocity.x, 6.0f);
    EXPECT_FLOAT_EQ(BodyOf(runner).velocity.y, 8.0f);
    EXPECT_EQ(BodyOf(Body("Adder", "SetVelocity 1 2 3\nAddVelocity 1 1 1")).velocity, (Vector4{2, 3, 4, 0}));
}

// A state change clears the bounciness; a name it does not know changes nothing.
TEST_F(TransformActions, NoMassMeansImmovableStateNamesAreUpperCaseAndIgnoredTagsAreAddedOnce)
{
    const auto bouncy = [](ECS::IEntity* e) { e->AddComponent<RigidBody>()->bounciness = 0.7f; };
    RigidBody& crate = BodyOf(Once("Crate", "SetPhysicsState Kinematic\nSetMass 0", "", bouncy));
    EXPECT_EQ(crate.rigidbodyMode, RigidBody::DYNAMIC);
    EXPECT_EQ(crate.bounciness, 0.7f);
    EXPECT_EQ(crate.inverseMass, 0.0f) << "not infinitely light";
    RigidBody& lift = BodyOf(Once("Lift", "SetPhysicsState KINEMATIC\nSetMass 4", "", bouncy));
    EXPECT_EQ(lift.rigidbodyMode, RigidBody::KINEMATIC);
    EXPECT_EQ(lift.bounciness, 0.0f);
    EXPECT_EQ(lift.inverseMass, 0.25f);
    EXPECT_EQ(BodyOf(Body("Wall", "SetPhysicsState STATIC")).rigidbodyMode, RigidBody::STATIC);

    // Ignored tags are added once and forgotten all at once.
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

} // namespace Varn::Test
