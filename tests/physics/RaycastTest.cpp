#include "physics/PhysicsTestSupport.h"

#include "ecs/RaycastComponent.h"
#include "physics/Raycast.h"
#include "scene/JSONManager.h"

namespace Varn::Test
{

using ECS::BoxCollider2D;
using ECS::CircleCollider2D;
using ECS::IEntity;
using ECS::RaycastComponent;
using ECS::RigidBody;

using Physics::Raycast;

class Raycasts : public PhysicsTest
{
protected:
    void SetUp() override
    {
        PhysicsTest::SetUp();
        eye = Make<>("Eye", {0, 0, 0, 0});
    }

    // A circle of radius 1 (scale 2) centred at `at`.
    IEntity* Ball(const std::string& name, Vector4 at)
    {
        return Make<CircleCollider2D>(name, at, {2, 2, 1, 0});
    }

    // Casts read the sizes the last physics step worked out.
    void Settle() { Step(); }

    IEntity* eye = nullptr;
    Vector4 hitPoint{}; // what a cast writes: the hit point and the entity hit
    IEntity* hit = nullptr;
    IEntity* sentinel = reinterpret_cast<IEntity*>(&sentinelStorage);
    int sentinelStorage = 0;
};

TEST_F(Raycasts, RayNamesTheCircleItHitsAndAMissLeavesTheHitAsItWas)
{
    IEntity* target = Ball("Target", {5, 0, 0, 0});
    hit = sentinel;
    Settle();
    EXPECT_TRUE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, ""));
    EXPECT_EQ(hit, target);
    EXPECT_EQ(hitPoint.y, 0.0f);
    EXPECT_EQ(hitPoint.w, 1.0f);

    Xf(target).position.x = 12.0f;
    Settle();
    hit = sentinel;
    EXPECT_FALSE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, ""));
    EXPECT_EQ(hit, sentinel) << "left unchanged on a miss";
    EXPECT_EQ(hitPoint, (Vector4{10, 0, 0, 1})) << "the end of the ray";
}

TEST_F(Raycasts, FreeStandingTriggersAreSkippedButTriggersOnBodiesAreHit)
{
    IEntity* area = Make<BoxCollider2D>("Area", {5, 0, 0, 0}, {2, 2, 1, 0});
    Get<BoxCollider2D>(area).isTrigger = true;
    Settle();
    EXPECT_FALSE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, ""));

    IEntity* sensor = Make<BoxCollider2D, RigidBody>("Sensor", {7, 0, 0, 0}, {2, 2, 1, 0});
    Get<BoxCollider2D>(sensor).isTrigger = true;
    Body(sensor).gravityScale = 0.0f;
    Settle();
    EXPECT_TRUE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, ""));
    EXPECT_EQ(hit, sensor);
    EXPECT_NEAR(hitPoint.x, 6.0f, 1e-5f) << "the box's near face";
}

TEST_F(Raycasts, NameTagLayerAndActivityFilterTheCandidates)
{
    IEntity* twin = Ball("Eye", {3, 0, 0, 0});
    IEntity* enemy = Ball("Enemy", {6, 0, 0, 0});
    engine->jsonManager->RegisterTag("Default");
    enemy->tags = engine->jsonManager->RegisterTag("Enemy");
    Settle();
    EXPECT_TRUE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, ""));
    EXPECT_EQ(hit, enemy) << "an entity sharing the caster's name is never hit";

    EXPECT_TRUE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, "Enemy"));
    hit = nullptr;
    EXPECT_FALSE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, "Default"))
        << "nobody carries it";
    EXPECT_FALSE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, "Unknown"));

    enemy->layer = 2;
    EXPECT_FALSE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, ""));
    enemy->layer = 0;
    enemy->gameObjectActive = false;
    EXPECT_FALSE(Raycast(engine->services, eye, {10, 0, 0, 0}, hitPoint, hit, ""));
    EXPECT_EQ(hit, nullptr);
    (void)twin;
}

TEST_F(Raycasts, ComponentTurnsFlipsAndMarksItsRays)
{
    IEntity* left = Ball("Left", {-5, 0, 0, 0});
    IEntity* up = Ball("Up", {0, 5, 0, 0});
    IEntity* marker = Make<>("Marker", {0, 0, 0, 0});
    auto* rays = eye->AddComponent<RaycastComponent>();
    rays->rays = {RaycastComponent::Ray({10, 0, 0, 0}), RaycastComponent::Ray({-10, 0, 0, 0})};
    rays->rays[0].marker = marker;

    Settle();
    EXPECT_TRUE(Physics::CastRays(engine->services, *rays));
    EXPECT_EQ(rays->hitEntities, std::vector<IEntity*>{left}) << "only the second ray hits";
    EXPECT_EQ(Xf(marker).position, (Vector4{10, 0, 0, 1})) << "the first ray's end";

    Xf(eye).flipX = true;
    EXPECT_TRUE(Physics::CastRays(engine->services, *rays));
    EXPECT_EQ(rays->rays[0].direction, (Vector4{-10, 0, 0, 0}));
    EXPECT_EQ(rays->hitEntities, std::vector<IEntity*>{left}) << "both hit the same entity, listed once";
    EXPECT_NEAR(Xf(marker).position.x, -4.0f, 1e-5f);

    EXPECT_TRUE(Physics::CastRays(engine->services, *rays));
    EXPECT_EQ(rays->rays[0].direction, (Vector4{-10, 0, 0, 0})) << "mirrored once, not every cast";

    Xf(eye).flipX = false;
    EXPECT_TRUE(Physics::CastRays(engine->services, *rays));
    EXPECT_EQ(rays->rays[0].direction, (Vector4{10, 0, 0, 0})) << "two flips restore the ray";
    EXPECT_EQ(rays->rays[1].direction, (Vector4{-10, 0, 0, 0}));

    Xf(eye).angle.z = 90.0f;
    EXPECT_TRUE(Physics::CastRays(engine->services, *rays));
    EXPECT_NEAR(rays->rays[0].worldDirection.y, 10.0f, 1e-4f) << "turned with the entity";
    EXPECT_EQ(rays->hitEntities, std::vector<IEntity*>{up});
}

} // namespace Varn::Test
