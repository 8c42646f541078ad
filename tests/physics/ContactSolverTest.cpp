#include "physics/PhysicsTestSupport.h"

#include "physics/ContactSolver.h"

namespace Varn::Test
{

using ECS::BoxCollider2D;
using ECS::CircleCollider2D;
using ECS::IEntity;
using ECS::RigidBody;

using Physics::Contact;
using Physics::ContactSolver;

class ContactResponse : public PhysicsTest
{
protected:
    void SetUp() override
    {
        PhysicsTest::SetUp();
        ball = Make<RigidBody, CircleCollider2D>("Ball", {0, 0, 0, 0});
        wall = Make<BoxCollider2D>("Wall", {-1, 0, 0, 0});
    }

    Contact Against(IEntity* partner, Vector4 normal, float depth = 0.0f)
    {
        Contact contact;
        contact.a = ball;
        contact.b = partner;
        contact.bodyA = ball->GetComponent<RigidBody>();
        contact.bodyB = partner->GetComponent<RigidBody>();
        contact.normal = normal;
        contact.depth = depth;
        return contact;
    }

    IEntity* ball = nullptr;
    IEntity* wall = nullptr;
};

TEST_F(ContactResponse, BouncinessOneDoublesTheImpulseAgainstAnImmovableWall)
{
    const Contact contact = Against(wall, {1, 0, 0, 0});
    Body(ball).velocity = {-60, 5, 0, 0};
    ContactSolver::ResolveImpulse(contact);
    EXPECT_EQ(Body(ball).velocity, (Vector4{0, 5, 0, 0})) << "the plain impulse stops the normal motion";

    Body(ball).velocity = {-60, 5, 0, 0};
    Body(ball).bounciness = 1.0f;
    ContactSolver::ResolveImpulse(contact);
    EXPECT_EQ(Body(ball).velocity, (Vector4{60, 5, 0, 0})) << "twice the impulse reverses it";

    ContactSolver::ResolveImpulse(contact);
    EXPECT_EQ(Body(ball).velocity, (Vector4{60, 5, 0, 0})) << "separating: untouched";
    ASSERT_EQ(Body(ball).blockers.size(), 1u) << "one entry however often the contact is solved";
    EXPECT_EQ(Body(ball).blockers[0].other.Get(), wall);
    EXPECT_EQ(Body(ball).blockers[0].normal, (Vector4{1, 0, 0, 0}));
}

TEST_F(ContactResponse, TwoBodiesShareTheImpulseByInverseMass)
{
    IEntity* other = Make<RigidBody, CircleCollider2D>("Other", {1, 0, 0, 0});
    Body(other).mass = 3.0f;
    Body(other).inverseMass = 1.0f / 3.0f;
    Body(ball).velocity = {40, 0, 0, 0};
    Body(other).velocity = {0, 0, 0, 0};
    ContactSolver::ResolveImpulse(Against(other, {-1, 0, 0, 0}));
    // j = 40 / (1 + 1/3) = 30: the ball keeps 10, the heavy one takes 10.
    EXPECT_NEAR(Body(ball).velocity.x, 10.0f, 1e-4f);
    EXPECT_NEAR(Body(other).velocity.x, 10.0f, 1e-4f);
    EXPECT_TRUE(Body(ball).blockers.empty()) << "a movable partner does not block";
}

TEST_F(ContactResponse, OverlapIsCorrectedThroughVelocityExceptIntoABlocker)
{
    Body(ball).velocity = {0, 0, 0, 0};
    ContactSolver::CorrectPosition(Against(wall, {0, 1, 0, 0}, 0.5f), STEP);
    EXPECT_NEAR(Body(ball).velocity.y, 30.0f, 1e-3f) << "0.5 units in one 1/60 s step";

    Body(ball).velocity = {0, 0, 0, 0};
    ContactSolver::CorrectPosition(Against(wall, {0, 1, 0, 0}, 0.5f), 0.0f);
    EXPECT_EQ(Body(ball).velocity.y, 0.5f) << "without a step the correction is the displacement";

    Body(ball).velocity = {0, 0, 0, 0};
    ContactSolver::CorrectPosition(Against(wall, {0, 1, 0, 0}, -0.3f), STEP);
    EXPECT_EQ(Body(ball).velocity.y, 0.0f) << "a contact ahead in time is not corrected";

    Body(ball).velocity = {3, 0, 0, 0};
    Body(ball).blockers.push_back({wall, {1, 0, 0, 0}});
    ContactSolver::CorrectPosition(Against(wall, {0.6f, 0.8f, 0, 0}, 0.5f), STEP);
    EXPECT_NEAR(Body(ball).velocity.x, 3.0f, 1e-4f) << "no push along the blocker it moves against";
    EXPECT_NEAR(Body(ball).velocity.y, 0.4f * 60.0f, 1e-3f);
}

} // namespace Varn::Test
