#include "ecs/RigidBody.h"

#include <gtest/gtest.h>

namespace Varn::Test
{

using ECS::ForceEntry;
using ECS::RigidBody;

TEST(RigidBodyActions, ForcesAreTimedPermanentOrDropped)
{
    RigidBody body;
    body.AddForce({0, 0, 0, 5});
    EXPECT_TRUE(body.forces.empty()) << "no x, y or z: nothing to add";

    body.AddForce({1, 0, 0, 0});
    body.AddForce({0, 2, 0, 0}, -1.0f);
    body.AddForce({0, 0, 3, 0}, 0.5f);
    ASSERT_EQ(body.forces.size(), 3u);
    EXPECT_EQ(body.forces[0].timeLeft, ForceEntry::PERMANENT);
    EXPECT_EQ(body.forces[1].timeLeft, ForceEntry::PERMANENT);
    EXPECT_EQ(body.forces[2].timeLeft, 0.5f);

    body.SetForce({4, 0, 0, 0});
    ASSERT_EQ(body.forces.size(), 1u);
    EXPECT_EQ(body.forces[0].force, (Vector4{4, 0, 0, 0}));
    EXPECT_EQ(body.forces[0].timeLeft, 0.016666668f);
}

TEST(RigidBodyActions, ModeByNameClearsBouncinessAndUnknownNamesChangeNothing)
{
    RigidBody body;
    body.bounciness = 0.7f;
    EXPECT_FALSE(body.SetMode("Kinematic"));
    EXPECT_EQ(body.rigidbodyMode, RigidBody::DYNAMIC);
    EXPECT_EQ(body.bounciness, 0.7f);

    EXPECT_TRUE(body.SetMode("KINEMATIC"));
    EXPECT_EQ(body.rigidbodyMode, RigidBody::KINEMATIC);
    EXPECT_EQ(body.bounciness, 0.0f);
    EXPECT_TRUE(body.SetMode("STATIC"));
    EXPECT_EQ(body.rigidbodyMode, RigidBody::STATIC);
}

} // namespace Varn::Test
