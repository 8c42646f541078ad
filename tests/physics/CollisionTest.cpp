#include "physics/Collision.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Varn::Test
{

using Physics::BoxShape;
using Physics::CircleShape;
using Physics::Collision;
using Physics::CollisionHit;

namespace
{

constexpr float DT = 1.0f / 60.0f;

BoxShape Box(float x, float y, float hx, float hy, float angle = 0.0f)
{
    return Collision::MakeBox({x, y, 0, 0}, hx, hy, angle);
}

} // namespace

TEST(CircleTests, CirclesPointEightApartOverlapByPointTwoNow)
{
    const CircleShape a{{0, 0, 0, 0}, 0.5f}, b{{0.8f, 0, 0, 0}, 0.5f};
    const CollisionHit hit = Collision::CircleCircle(a, b, {0, 0, 0, 0}, DT);
    ASSERT_TRUE(hit.hit);
    EXPECT_NEAR(hit.depth, 0.2f, 1e-6f);
    EXPECT_EQ(hit.timeOfImpact, 0.0f);
    EXPECT_NEAR(hit.normal.x, 0.8f, 1e-6f) << "from A towards B, not yet normalised";
    EXPECT_EQ(hit.normal.w, 1.0f);
    EXPECT_EQ(hit.point, (Vector4{0, 0, 0, 0}));

    const CollisionHit same = Collision::CircleCircle(a, a, {0, 0, 0, 0}, DT);
    ASSERT_TRUE(same.hit);
    EXPECT_EQ(same.normal.y, 1.0f) << "coincident centres still get a direction";
    EXPECT_NEAR(same.depth, 1.0f, 1e-6f);

    EXPECT_FALSE(Collision::CircleCircle(a, {{1.0f, 0, 0, 0}, 0.5f}, {0, 0, 0, 0}, DT).hit)
        << "touching only";
}

TEST(BoxCircleTests, CircleOnTheFacingEdgeOrCornerIsHitNowOrAheadInTime)
{
    const BoxShape box = Box(0, 0, 1, 1);

    CollisionHit edge = Collision::BoxCircle(box, {{0, 1.3f, 0, 0}, 0.5f}, {0, 0, 0, 0}, DT, false);
    ASSERT_TRUE(edge.hit);
    EXPECT_NEAR(edge.depth, 0.2f, 1e-5f);
    EXPECT_EQ(edge.timeOfImpact, 0.0f);
    EXPECT_NEAR(edge.normal.y, 1.0f, 1e-6f) << "from the box to the circle";
    EXPECT_NEAR(edge.point.y, 0.8f, 1e-5f) << "the rim point facing the box";

    edge = Collision::BoxCircle(box, {{0, 1.3f, 0, 0}, 0.5f}, {0, 0, 0, 0}, DT, true);
    EXPECT_NEAR(edge.normal.y, -1.0f, 1e-6f) << "turned round when the circle has a body";

    const CollisionHit corner =
        Collision::BoxCircle(box, {{1.3f, 1.3f, 0, 0}, 0.5f}, {0, 0, 0, 0}, DT, false);
    ASSERT_TRUE(corner.hit);
    EXPECT_NEAR(corner.depth, 0.5f - std::sqrt(0.18f), 1e-5f);
    EXPECT_NEAR(corner.normal.x, std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(corner.normal.y, std::sqrt(0.5f), 1e-5f);

    EXPECT_FALSE(Collision::BoxCircle(box, {{1.5f, 1.5f, 0, 0}, 0.5f}, {0, 0, 0, 0}, DT, false).hit);

    // Moving: the edge or corner is met ahead in time.
    const CollisionHit ahead = Collision::BoxCircle(box, {{0, 3, 0, 0}, 0.5f}, {0, -120, 0, 0}, DT, false);
    ASSERT_TRUE(ahead.hit);
    EXPECT_NEAR(ahead.timeOfImpact, 1.5f / 120.0f, 1e-6f);
    EXPECT_EQ(ahead.depth, 0.0f);
    EXPECT_NEAR(ahead.normal.y, 1.0f, 1e-6f);
    EXPECT_NEAR(ahead.point.y, 1.0f, 1e-4f) << "where the rim meets the edge";

    EXPECT_FALSE(Collision::BoxCircle(box, {{0, 3, 0, 0}, 0.5f}, {0, -60, 0, 0}, DT, false).hit)
        << "too slow";
    EXPECT_FALSE(Collision::BoxCircle(box, {{0, 3, 0, 0}, 0.5f}, {0, 120, 0, 0}, DT, false).hit) << "leaving";

    // Diagonally onto the corner (1, 1): the rim touches it when the centre is 0.5 away.
    const CollisionHit diagonal =
        Collision::BoxCircle(box, {{2, 2, 0, 0}, 0.5f}, {-100, -100, 0, 0}, DT, false);
    ASSERT_TRUE(diagonal.hit);
    EXPECT_NEAR(diagonal.timeOfImpact, (std::sqrt(2.0f) - 0.5f) / (100.0f * std::sqrt(2.0f)), 1e-5f);
    EXPECT_NEAR(diagonal.normal.x, std::sqrt(0.5f), 1e-4f) << "from the corner to the centre";
}

// On a long box the two corners nearest a circle need not share the face it touches: beside a
// wall 2 wide and 100 tall, a circle at height 30 is nearest the two bottom corners. The face
// it presses into decides, whether its centre is still outside or already inside the wall.
TEST(BoxCircleTests, BesideATallWallTheFaceItTouchesDecidesNotTheNearestCorners)
{
    const BoxShape wall = Box(0, 50, 1, 50);

    const CollisionHit outside = Collision::BoxCircle(wall, {{1.3f, 30, 0, 0}, 0.5f}, {0, 0, 0, 0}, DT, true);
    ASSERT_TRUE(outside.hit);
    EXPECT_NEAR(outside.depth, 0.2f, 1e-5f);
    EXPECT_NEAR(outside.normal.x, -1.0f, 1e-6f) << "the wall pushes the circle back out along x";

    const CollisionHit inside = Collision::BoxCircle(wall, {{0.8f, 30, 0, 0}, 0.5f}, {0, 0, 0, 0}, DT, true);
    ASSERT_TRUE(inside.hit);
    EXPECT_NEAR(inside.depth, 0.7f, 1e-5f) << "not the 30.5 to the bottom face";
    EXPECT_NEAR(inside.normal.x, -1.0f, 1e-6f);
    EXPECT_NEAR(inside.normal.y, 0.0f, 1e-6f);

    // Resting on a long floor near its end: the top face, not the end face.
    const BoxShape floor = Box(0, 0, 50, 1);
    const CollisionHit resting =
        Collision::BoxCircle(floor, {{-49.5f, 1.4f, 0, 0}, 0.5f}, {0, -10, 0, 0}, DT, true);
    ASSERT_TRUE(resting.hit);
    EXPECT_NEAR(resting.depth, 0.1f, 1e-5f);
    EXPECT_NEAR(resting.normal.y, -1.0f, 1e-6f);
}

TEST(BoxBoxTests, OverlapSeparatesAlongTheAxisOfLeastOverlapAndMotionHitsOnEnteringTheLastAxis)
{
    const CollisionHit hit = Collision::BoxBox(Box(0, 0, 1, 1), Box(0, 1.5f, 1, 1), {0, 0, 0, 0}, DT);
    ASSERT_TRUE(hit.hit);
    EXPECT_EQ(hit.normal, (Vector4{0, 1, 0, 0}));
    EXPECT_NEAR(hit.depth, 0.5f, 1e-6f);
    EXPECT_EQ(hit.timeOfImpact, 0.0f);
    EXPECT_NEAR(hit.point.x, 1.0f, 1e-6f);
    EXPECT_NEAR(hit.point.y, 0.5f, 1e-6f) << "moved back by the depth along the normal";

    EXPECT_FALSE(Collision::BoxBox(Box(0, 0, 1, 1), Box(0, 2.5f, 1, 1), {0, 0, 0, 0}, DT).hit);

    // Moving, A hits B when the last axis is entered within the step.
    const CollisionHit ahead = Collision::BoxBox(Box(0, 0, 1, 1), Box(3, 0, 1, 1), {120, 0, 0, 0}, DT);
    ASSERT_TRUE(ahead.hit);
    EXPECT_NEAR(ahead.timeOfImpact, 1.0f / 120.0f, 1e-6f);
    EXPECT_EQ(ahead.normal, (Vector4{1, 0, 0, 0}));
    EXPECT_EQ(ahead.depth, 0.0f);
    EXPECT_NEAR(ahead.point.x, 2.0f, 1e-5f) << "A's leading face, moved to the time of impact";

    EXPECT_FALSE(Collision::BoxBox(Box(0, 0, 1, 1), Box(3, 0, 1, 1), {-120, 0, 0, 0}, DT).hit);
    EXPECT_FALSE(Collision::BoxBox(Box(0, 0, 1, 1), Box(3, 0, 1, 1), {30, 0, 0, 0}, DT).hit);

    // Closing on both axes: y is entered last, while x still overlaps.
    const CollisionHit diagonal = Collision::BoxBox(Box(0, 0, 1, 1), Box(3, 2.8f, 1, 1), {120, 60, 0, 0}, DT);
    ASSERT_TRUE(diagonal.hit);
    EXPECT_NEAR(diagonal.timeOfImpact, 0.8f / 60.0f, 1e-6f);
    EXPECT_EQ(diagonal.normal, (Vector4{0, 1, 0, 0}));
    // Faster along x, A has passed B before it rises to B's height.
    EXPECT_FALSE(Collision::BoxBox(Box(0, 0, 1, 1), Box(3, 2.8f, 1, 1), {600, 60, 0, 0}, DT).hit);
}

TEST(BoxBoxTests, TurnedBoxesMustTouchExactlyNotJustTheirBounds)
{
    EXPECT_TRUE(Collision::IsAxisAligned(0.0f));
    EXPECT_TRUE(Collision::IsAxisAligned(180.4f));
    EXPECT_TRUE(Collision::IsAxisAligned(-270.0f));
    EXPECT_FALSE(Collision::IsAxisAligned(1.0f));
    EXPECT_FALSE(Collision::IsAxisAligned(45.0f));

    // A diamond whose bounds overlap the square's corner while the shapes are 0.697 apart.
    const BoxShape square = Box(0, 0, 1, 1);
    const BoxShape diamond = Box(2.2f, 2.2f, 1, 1, 45.0f);
    EXPECT_FALSE(Collision::BoxBox(square, diamond, {0, 0, 0, 0}, DT).hit);

    const CollisionHit moving = Collision::BoxBox(square, diamond, {60, 60, 0, 0}, DT);
    ASSERT_TRUE(moving.hit) << "by the end of the step the square's corner is inside";
    EXPECT_EQ(moving.depth, 0.0f);
    EXPECT_NEAR(std::fabs(moving.normal.x), std::sqrt(0.5f), 1e-4f) << "perpendicular to the diamond's edge";
    EXPECT_NEAR(std::fabs(moving.normal.y), std::sqrt(0.5f), 1e-4f);

    const CollisionHit overlapping =
        Collision::BoxBox(square, Box(1.6f, 1.6f, 1, 1, 45.0f), {0, 0, 0, 0}, DT);
    ASSERT_TRUE(overlapping.hit);
    EXPECT_NEAR(overlapping.depth, std::sqrt(2.0f) - (3.2f / std::sqrt(2.0f) - 1.0f), 1e-4f)
        << "the square's corner inside the diamond, measured along the diamond's edge normal";
    EXPECT_NEAR(overlapping.normal.y, overlapping.normal.x, 1e-5f);
    EXPECT_LT(overlapping.normal.x, 0.0f) << "from B towards A";
}

} // namespace Varn::Test
