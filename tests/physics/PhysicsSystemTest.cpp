#include "physics/PhysicsTestSupport.h"
#include "support/PileScene.h"

#include <cmath>
#include <cstring>

namespace Varn::Test
{

using ECS::BoxCollider2D;
using ECS::CircleCollider2D;
using ECS::IEntity;
using ECS::RigidBody;
using ECS::ScriptComponent;

using Physics::PhysicsSystem;

namespace
{

std::vector<std::pair<IEntity*, bool>> Registry()
{
    std::vector<std::pair<IEntity*, bool>> entries;
    for (const auto& entry : Scene::Engine::Instance().scenes->current->physicsSystem->physicsEntities)
    {
        entries.emplace_back(entry.entity, entry.hasRigidBody);
    }
    return entries;
}

// The entities a pass's list still resolves to.
std::vector<IEntity*> Live(const std::vector<ECS::EntityHandle>& handles)
{
    std::vector<IEntity*> live;
    for (const ECS::EntityHandle& handle : handles)
    {
        live.push_back(handle.Get());
    }
    return live;
}

} // namespace

using PhysicsStep = PhysicsTest;

// A falling ball gains 16.67 per step before drag; a puck without gravity only loses speed to
// drag, and snaps to rest once an axis drops below one.
TEST_F(PhysicsStep, FreeFallAndDragWithoutGravity)
{
    IEntity* ball = Make<RigidBody>("Ball", {0, 0, 0, 0});
    IEntity* puck = Make<RigidBody>("Puck", {0, 0, 0, 0});
    EXPECT_EQ(Body(ball).velocity, (Vector4{0, 0, 0, 0}));
    Body(puck).gravityScale = 0.0f;
    Body(puck).velocity = {5, 3, 0, 0};

    Step();
    EXPECT_NEAR(Body(ball).acceleration.y, -10.0f, 1e-5f);
    EXPECT_NEAR(Body(ball).velocity.y, -16.6667f * 0.99f, 1e-3f);
    EXPECT_NEAR(Xf(ball).position.y, -16.6667f * 0.99f / 60.0f, 1e-4f);
    EXPECT_NEAR(Body(puck).velocity.x, 4.95f, 1e-5f);
    EXPECT_NEAR(Body(puck).velocity.y, 2.97f, 1e-5f);

    Step();
    EXPECT_NEAR(Body(ball).velocity.y, (-16.6667f * 0.99f - 16.6667f) * 0.99f, 1e-3f);
    EXPECT_EQ(Body(ball).velocity.x, 0.0f);

    // 3 * 0.99^109 is just above 1, 3 * 0.99^110 just below.
    Step(107);
    EXPECT_GT(Body(puck).velocity.y, 1.0f);
    Step();
    EXPECT_EQ(Body(puck).velocity.y, 0.0f);
    EXPECT_GT(Body(puck).velocity.x, 1.0f) << "each axis snaps on its own";

    // 5 * 0.99^160 is just above 1, 5 * 0.99^161 just below.
    Step(50);
    EXPECT_GT(Body(puck).velocity.x, 1.0f);
    Step();
    EXPECT_EQ(Body(puck).velocity.x, 0.0f);
    const float restX = Xf(puck).position.x;
    Step(5);
    EXPECT_EQ(Xf(puck).position.x, restX) << "a body at rest stays put";
}

TEST_F(PhysicsStep, InactiveBodiesAreNeitherIntegratedNorCleared)
{
    IEntity* parent = Make<>("Parent", {0, 0, 0, 0});
    IEntity* disabled = Make<RigidBody>("Disabled", {1, 0, 0, 0});
    IEntity* hidden = Make<RigidBody>("Hidden", {2, 0, 0, 0});
    IEntity* child = Make<RigidBody>("Child", {3, 0, 0, 0});
    Body(disabled).enabled = false;
    hidden->gameObjectActive = false;
    child->parent = parent;
    parent->gameObjectActive = false;
    for (IEntity* e : {disabled, hidden, child})
    {
        Body(e).velocity = {5, 0, 0, 0};
        Body(e).grounded = true;
        Body(e).contacts.push_back({parent, {0, 1, 0, 0}});
    }

    Step(3);
    for (IEntity* e : {disabled, hidden, child})
    {
        SCOPED_TRACE(e->name);
        EXPECT_EQ(Body(e).velocity, (Vector4{5, 0, 0, 0}));
        EXPECT_TRUE(Body(e).grounded);
        EXPECT_EQ(Body(e).contacts.size(), 1u);
    }
    EXPECT_EQ(Xf(disabled).position.x, 1.0f);
    EXPECT_EQ(Xf(child).position.x, 3.0f);

    parent->gameObjectActive = true;
    Step();
    EXPECT_FALSE(Body(child).grounded) << "active again: cleared and integrated";
    EXPECT_LT(Body(child).velocity.y, -16.0f);
}

TEST_F(PhysicsStep, BodyRestingOnAColliderWithoutBodyIsGroundedAndListedByTheBox)
{
    IEntity* floor = Make<BoxCollider2D>("Floor", {0, 0, 0, 0}, {100, 2, 1, 0});
    IEntity* crate = Make<RigidBody, BoxCollider2D>("Crate", {0, 1.5f, 0, 0});
    EXPECT_FALSE(Body(crate).grounded);
    EXPECT_TRUE(Get<BoxCollider2D>(floor).collidingEntities.empty());

    Step();
    EXPECT_TRUE(Body(crate).grounded);
    ASSERT_EQ(Body(crate).contacts.size(), 1u);
    EXPECT_EQ(Body(crate).contacts[0].other.Get(), floor);
    ASSERT_EQ(Get<BoxCollider2D>(floor).collidingEntities.size(), 1u);
    EXPECT_EQ(Get<BoxCollider2D>(floor).collidingEntities[0].Get(), crate);
    EXPECT_EQ(Physics().solverIterations, 3u) << "one contact, in the static queue";
    ASSERT_EQ(Body(crate).blockers.size(), 1u) << "the floor blocks it";
    EXPECT_EQ(Body(crate).blockers[0].normal.y, 1.0f);

    Step(59);
    EXPECT_NEAR(Xf(crate).position.y, 1.5f, 1e-3f) << "it rests instead of sinking";
    EXPECT_EQ(Body(crate).velocity.y, 0.0f);
    EXPECT_TRUE(Body(crate).grounded);
}

TEST_F(PhysicsStep, LayersRoomsAndIgnoredTagsKeepCollidersApart)
{
    IEntity* a = Make<RigidBody, CircleCollider2D>("A", {0, 0, 0, 0});
    IEntity* b = Make<RigidBody, CircleCollider2D>("B", {0.5f, 0, 0, 0});
    Body(a).gravityScale = Body(b).gravityScale = 0.0f;

    b->layer = 1;
    OverlapAndStep(a, b);
    EXPECT_TRUE(Body(a).contacts.empty());

    b->layer = 0;
    OverlapAndStep(a, b);
    EXPECT_EQ(Body(a).contacts.size(), 1u) << "same layer, same room: they touch";

    CurrentScene().mainCamera->room = 3;
    a->room = 3;
    b->room = 2;
    OverlapAndStep(a, b, {0, 40, 0, 0});
    EXPECT_TRUE(Body(a).contacts.empty());
    EXPECT_EQ(Body(b).velocity, (Vector4{0, 40, 0, 0})) << "another room is not even integrated";

    b->room = 0;
    OverlapAndStep(a, b);
    EXPECT_EQ(Body(a).contacts.size(), 1u) << "room 0 is everywhere";

    IEntity* wall = Make<BoxCollider2D>("Wall", {-0.9f, 0, 0, 0});
    a->tags = 0b010;
    b->tags = 0b100;
    wall->tags = 0b100;
    Body(a).AddIgnoreTag(0b100);
    OverlapAndStep(a, b);
    ASSERT_EQ(Body(a).contacts.size(), 1u) << "the wall has no body, so its tag is not consulted";
    EXPECT_EQ(Body(a).contacts[0].other, wall);
    EXPECT_TRUE(Body(b).contacts.empty());

    Body(a).ClearIgnoreTags();
    Body(b).AddIgnoreTag(0b010);
    OverlapAndStep(a, b);
    EXPECT_TRUE(Body(b).contacts.empty()) << "the partner's ignore list counts too";

    Body(b).ClearIgnoreTags();
    OverlapAndStep(a, b);
    ASSERT_EQ(Body(b).contacts.size(), 1u);
    EXPECT_EQ(Body(b).contacts[0].other, a);
}

// The lists outlive their step: scripts and behaviours read them in the next one, after kills.
// A partner freed in between, its slot handed to a newcomer, reads as nothing, not as the
// newcomer.
TEST_F(PhysicsStep, AFreedPartnerLeavesItsListsAsNothingNotAsTheNextOccupant)
{
    IEntity* floor = Make<BoxCollider2D>("Floor", {0, 0, 0, 0}, {100, 2, 1, 0});
    IEntity* crate = Make<RigidBody, BoxCollider2D>("Crate", {0, 1.5f, 0, 0});
    IEntity* zone = Make<BoxCollider2D, ScriptComponent>("Zone", {500, 0, 0, 0}, {4, 4, 1, 0});
    IEntity* ball = Make<RigidBody, CircleCollider2D>("Ball", {500, 0, 0, 0});
    Get<BoxCollider2D>(zone).isTrigger = true;
    Step();
    ASSERT_EQ(Body(crate).contacts.size(), 1u);
    ASSERT_EQ(Live(Get<BoxCollider2D>(zone).triggerEntities), std::vector<IEntity*>{ball});

    CurrentScene().RemoveEntity(floor, false);
    CurrentScene().RemoveEntity(ball, false);
    EXPECT_EQ(Live(Get<BoxCollider2D>(zone).triggerEntities), std::vector<IEntity*>{nullptr}) << "freed";
    EXPECT_EQ(Get<BoxCollider2D>(zone).triggerEntities[0].AsSeen(), ball) << "but still as the pass saw it";
    IEntity* first = Make<BoxCollider2D>("Newcomer", {-500, 0, 0, 0});
    IEntity* second = Make<BoxCollider2D>("Newcomer2", {-600, 0, 0, 0});
    ASSERT_TRUE((first == floor || first == ball) && (second == floor || second == ball))
        << "the pool hands both slots out again";
    EXPECT_EQ(Body(crate).contacts[0].other.Get(), nullptr);
    EXPECT_EQ(Live(Get<BoxCollider2D>(zone).triggerEntities), std::vector<IEntity*>{nullptr});
    EXPECT_EQ(Get<BoxCollider2D>(zone).triggerEntities[0].AsSeen(), nullptr) << "never the newcomer";
}

TEST_F(PhysicsStep, TriggerReportsOnlyWhenTheDecidingSideHasAScript)
{
    IEntity* mute = Make<BoxCollider2D>("Mute", {0, 0, 0, 0}, {4, 4, 1, 0});
    IEntity* zone = Make<BoxCollider2D, ScriptComponent>("Zone", {10, 0, 0, 0}, {4, 4, 1, 0});
    IEntity* ball = Make<RigidBody, CircleCollider2D, ScriptComponent>("Ball", {0, 0, 0, 0});
    IEntity* ball2 = Make<RigidBody, CircleCollider2D>("Ball2", {10, 0, 0, 0});
    Get<BoxCollider2D>(mute).isTrigger = Get<BoxCollider2D>(zone).isTrigger = true;

    Step();
    EXPECT_TRUE(Get<BoxCollider2D>(mute).triggerEntities.empty()) << "the ball's script does not decide";
    EXPECT_TRUE(Get<CircleCollider2D>(ball).triggerEntities.empty());
    EXPECT_TRUE(Body(ball).contacts.empty()) << "a trigger pair makes no contact";
    EXPECT_EQ(Live(Get<BoxCollider2D>(zone).triggerEntities), std::vector<IEntity*>{ball2});
    EXPECT_EQ(Live(Get<CircleCollider2D>(ball2).triggerEntities), std::vector<IEntity*>{zone});
}

TEST_F(PhysicsStep, BodyLandingOnAnApproachingKinematicPlatformTakesItsVelocity)
{
    IEntity* platform = Make<RigidBody, BoxCollider2D>("Platform", {0, 0, 0, 0}, {100, 20, 1, 0});
    IEntity* crate = Make<RigidBody, BoxCollider2D>("Crate", {0, 21, 0, 0}, {20, 20, 1, 0});
    Body(platform).rigidbodyMode = RigidBody::KINEMATIC;
    Body(platform).gravityScale = 0.0f;
    Body(platform).velocity = {0, 50, 0, 0};
    Body(crate).velocity = {0, -100, 0, 0};

    Step();
    EXPECT_NEAR(Body(crate).velocity.y, 50.0f * 0.99f, 1e-3f) << "the platform's velocity, then drag";
    EXPECT_EQ(Body(platform).velocity, (Vector4{0, 50, 0, 0})) << "the platform is not pushed";
    EXPECT_TRUE(Body(crate).grounded);
    EXPECT_NEAR(Xf(crate).position.y, 21.0f + 49.5f / 60.0f, 1e-3f);
}

TEST_F(PhysicsStep, MassOfZeroOrLessIsAnImmovableBody)
{
    IEntity* anvil = Make<RigidBody, BoxCollider2D>("Anvil", {0, 0, 0, 0}, {10, 2, 1, 0});
    IEntity* crate = Make<RigidBody, BoxCollider2D>("Crate", {0, 3, 0, 0});
    Body(anvil).mass = 0.0f;
    Body(anvil).AddForce({0, 500, 0, 0});

    Step(60);
    EXPECT_EQ(Body(anvil).inverseMass, 0.0f);
    EXPECT_EQ(Xf(anvil).position, (Vector4{0, 0, 0, 0})) << "neither gravity nor its force moves it";
    EXPECT_EQ(Body(anvil).velocity, (Vector4{0, 0, 0, 0}));
    // A hit ahead in time stops the crate where it is, so it settles within one step's fall.
    EXPECT_GE(Xf(crate).position.y, 1.5f) << "the crate landed on it";
    EXPECT_LT(Xf(crate).position.y, 1.5f + 16.7f / 60.0f);
    EXPECT_EQ(Body(crate).velocity.y, 0.0f);
    EXPECT_TRUE(Body(crate).grounded);

    Body(anvil).mass = -3.0f;
    Body(anvil).velocity = {60, 0, 0, 0};
    Step();
    EXPECT_EQ(Body(anvil).inverseMass, 0.0f);
    EXPECT_NEAR(Xf(anvil).position.x, 60.0f * 0.99f / 60.0f, 1e-4f) << "its own velocity still moves it";
}

using PhysicsRegistry = PhysicsTest;

TEST_F(PhysicsRegistry, EntriesKeepInsertionOrderTrackTheBodyAndGoWithTheLastComponentOrTheScene)
{
    EXPECT_TRUE(CurrentScene().physicsSystem->physicsEntities.empty());
    IEntity* a = Make<RigidBody>("A", {});
    IEntity* b = Make<BoxCollider2D>("B", {});
    IEntity* c = Make<CircleCollider2D, RigidBody>("C", {});
    EXPECT_EQ(Registry(), (std::vector<std::pair<IEntity*, bool>>{{a, true}, {b, false}, {c, true}}));

    b->AddComponent<RigidBody>(); // joins the systems at once: it is in a scene
    EXPECT_EQ(Registry(), (std::vector<std::pair<IEntity*, bool>>{{a, true}, {b, true}, {c, true}}));

    CurrentScene().RemoveEntity(a, false);
    EXPECT_EQ(Registry(), (std::vector<std::pair<IEntity*, bool>>{{b, true}, {c, true}}));
    EXPECT_EQ(Physics().Entities(), (std::vector<IEntity*>{b, c}));

    // A destroyed scene's entities can no longer unregister: it leaves no entries behind.
    engine->scenes->SetCurrent(engine->NewScene());
    EXPECT_TRUE(CurrentScene().physicsSystem->physicsEntities.empty());

    // In the new scene: removing components keeps the entry while any physics component remains.
    IEntity* crate = Make<RigidBody, BoxCollider2D, CircleCollider2D>("Crate", {});
    IEntity* ball = Make<RigidBody, CircleCollider2D>("Ball", {});

    crate->RemoveComponent<RigidBody>();
    EXPECT_EQ(Registry(), (std::vector<std::pair<IEntity*, bool>>{{crate, false}, {ball, true}}));
    crate->RemoveComponent<BoxCollider2D>();
    EXPECT_EQ(Registry(), (std::vector<std::pair<IEntity*, bool>>{{crate, false}, {ball, true}}));
    crate->RemoveComponent<CircleCollider2D>();
    EXPECT_EQ(Registry(), (std::vector<std::pair<IEntity*, bool>>{{ball, true}}));

    // A body that loses its last collider keeps moving.
    ball->RemoveComponent<CircleCollider2D>();
    EXPECT_EQ(Registry(), (std::vector<std::pair<IEntity*, bool>>{{ball, true}}));
    Step();
    EXPECT_LT(Body(ball).velocity.y, -16.0f);
    ball->RemoveComponent<RigidBody>();
    EXPECT_TRUE(Registry().empty());
}

class PhysicsDeterminism : public PhysicsTest
{
protected:
    uint64_t RunBusyScene(bool useWorkers, bool exhaustivePairs = false)
    {
        Physics().exhaustivePairs = exhaustivePairs;
        Make<BoxCollider2D>("Floor", {0, -200, 0, 0}, {1200, 40, 1, 0});
        Make<BoxCollider2D>("Left", {-600, 0, 0, 0}, {40, 400, 1, 0});
        Make<BoxCollider2D>("Right", {600, 0, 0, 0}, {40, 400, 1, 0});
        IEntity* lift = Make<RigidBody, BoxCollider2D>("Lift", {0, -120, 0, 0}, {200, 10, 1, 0});
        Body(lift).rigidbodyMode = RigidBody::KINEMATIC;
        Body(lift).gravityScale = 0.0f;
        Body(lift).velocity = {30, 0, 0, 0};
        for (int i = 0; i < 80; ++i)
        {
            const Vector4 at{-500.0f + static_cast<float>(i % 20) * 50.0f, static_cast<float>(i / 20) * 45.0f,
                             0, 0};
            IEntity* e = i % 2 == 0 ? Make<RigidBody, CircleCollider2D>("Ball", at, {30, 30, 1, 0})
                                    : Make<RigidBody, BoxCollider2D>("Crate", at, {30, 25, 1, 0});
            RigidBody& body = Body(e);
            body.velocity = {static_cast<float>((i * 37) % 90 - 45), static_cast<float>((i * 53) % 60 - 30),
                             0, 0};
            body.mass = 0.5f + static_cast<float>(i % 4);
            body.bounciness = i % 5 == 0 ? 0.5f : 0.0f;
            body.rotational = i % 7 == 0;
            Xf(e).angle.z = i % 3 == 0 ? 30.0f : 0.0f;
        }
        CurrentScene().transformSystem->UpdateAll();
        for (int i = 0; i < 600; ++i)
        {
            Physics().Update(STEP);
            if (useWorkers)
            {
                CurrentScene().transformSystem->Update(STEP);
            }
            else
            {
                CurrentScene().transformSystem->UpdateAll();
            }
        }
        return Hash();
    }

    // FNV-1a over the bits of every body's position and velocity, in registry order.
    static uint64_t Hash()
    {
        uint64_t hash = 1469598103934665603ull;
        auto mix = [&hash](float value)
        {
            uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            for (int i = 0; i < 4; ++i)
            {
                hash = (hash ^ ((bits >> (8 * i)) & 0xFFu)) * 1099511628211ull;
            }
        };
        for (const auto& entry : Scene::Engine::Instance().scenes->current->physicsSystem->physicsEntities)
        {
            const auto& p = entry.entity->GetComponent<ECS::Transform>()->position;
            mix(p.x), mix(p.y), mix(p.z);
            if (const auto* body = entry.entity->GetComponent<RigidBody>())
            {
                mix(body->velocity.x), mix(body->velocity.y), mix(body->velocity.z);
            }
        }
        return hash;
    }

    void Clear()
    {
        while (CurrentScene().physicsSystem->physicsEntities.size() > 0)
        {
            CurrentScene().RemoveEntity(CurrentScene().physicsSystem->physicsEntities.front().entity, false);
        }
    }
};

TEST_F(PhysicsDeterminism, BusySceneHashesTheSameOnEveryRunWithOrWithoutWorkersOrTheBroadPhase)
{
    const uint64_t first = RunBusyScene(false);
    for (const auto& entry : CurrentScene().physicsSystem->physicsEntities)
    {
        const auto& p = entry.entity->GetComponent<ECS::Transform>()->position;
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << entry.entity->name;
        if (entry.hasRigidBody)
        {
            EXPECT_GT(p.y, -180.0f) << entry.entity->name << " stays above the floor";
            EXPECT_LT(std::fabs(p.x), 580.0f) << entry.entity->name << " stays between the walls";
        }
    }
    Clear();
    const uint64_t second = RunBusyScene(false);
    Clear();
    const uint64_t withWorkers = RunBusyScene(true);
    Clear();
    // The broad phase only skips pairs no shape test would report: every contact, in the same
    // order, down to the last bit of every position.
    const uint64_t everyPair = RunBusyScene(false, true);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, withWorkers);
    EXPECT_EQ(first, everyPair);
}

// A deep pile presses hard on its lowest row; none of that pressure may carry a body through
// the floor or a wall.
TEST_F(PhysicsStep, AFourThousandBodyPileKeepsEveryBodyInItsPit)
{
    const PileScene pile(Scene::Engine::Instance(), 4000);
    Step(600);
    EXPECT_EQ(pile.Escaped(), 0);
}

} // namespace Varn::Test
