#pragma once
// Moves every entity with a RigidBody and makes entities with colliders push against each other,
// once per simulation step. The registry of physics entities (`physicsEntities`) is the scene's,
// in insertion order, and goes with it; only component registration and removal write it. The
// step writes bodies' velocities, step state and positions, and colliders' entity lists.
#include "core/ISystem.h"
#include "core/Vector4.h"
#include "ecs/RigidBody.h"
#include "physics/Collision.h"
#include "physics/Contact.h"

#include <vector>

namespace Varn::ECS
{
class Transform;
class CircleCollider2D;
class BoxCollider2D;
} // namespace Varn::ECS

namespace Varn::Physics
{

class PhysicsSystem : public ISystem
{
public:
    // One registry entry: an entity with a body or a collider.
    struct PhysicsEntry
    {
        ECS::IEntity* entity = nullptr; // not owned
        bool hasRigidBody = false;      // whether a RigidBody is present
    };

    // Builds world force list 0 with the single gravity entry. An entity belongs while it has a
    // body or a collider: a body whose last collider goes still moves, exactly as a body that
    // never had one.
    PhysicsSystem(ECS::Scene* scene, const Services& services);

    // Appends (entity, has a body) to the registry, or refreshes the flag of its entry: a body
    // added or removed while a collider keeps the entity.
    void AddEntity(ECS::IEntity* entity) override;
    // Erases every entry of the entity, keeping the order of the rest.
    void RemoveEntity(ECS::IEntity* entity) override;
    void RemoveAllEntities() override;
    // One step of dt seconds: forces, collisions, response, velocities.
    void Update(const float& dt) override;

    std::vector<PhysicsEntry> physicsEntities; // this scene's physics entities, in the order they joined
    // The shapes the step collides an entity's colliders as, from its transform's last
    // matrices and sizes: for whoever draws them.
    static CircleShape CircleOf(const ECS::Transform& t, const ECS::CircleCollider2D& circle);
    static BoxShape BoxOf(const ECS::Transform& t, const ECS::BoxCollider2D& box);

    // While `recordRays`, every ray cast against this scene adds its start and where it ended;
    // the debug overlay draws them and empties the list.
    bool recordRays = false;
    std::vector<std::pair<Vector4, Vector4>> castRays;

    float velocityScale = 100.0f;                          // acceleration * dt * this adds to velocity
    std::vector<std::vector<ECS::ForceEntry>> worldForces; // list 0, entry 0 is gravity
    std::vector<Contact> staticContacts;                   // a body against a collider without a body
    std::vector<Contact> bodyContacts;                     // two bodies
    float gravityStrength = 10.0f;                         // pointing to -y
    unsigned solverIterations = 8;                         // impulse iterations of the next step
    // Hands every pair of the same layer with a moving side to the shape tests: the reference
    // the broad phase must match contact for contact. For tests; far slower.
    bool exhaustivePairs = false;

private:
    // What the collision pass needs of one registry entry, gathered once per step.
    struct Candidate
    {
        ECS::IEntity* entity = nullptr;
        ECS::Transform* transform = nullptr; // null: never paired
        ECS::RigidBody* body = nullptr;
        ECS::CircleCollider2D* circle = nullptr;
        ECS::BoxCollider2D* box = nullptr;
        bool shaped = false;  // passes the room filter, has a Transform, an active collider, no static body
        bool present = false; // passes the room filter and has a Transform
        bool bodyActive = false;      // it has a body, and the body is active
        bool moving = false;          // the entry's flag is set and its body is active
        Vector4 velocity{0, 0, 0, 0}; // the body's, or 0
        Vector4 centre{0, 0, 0, 0};   // world position
        float bound = 0.0f;           // radius around `centre` that holds every shape
        CircleShape circleShape;      // valid when `circle` is set
        BoxShape boxShape;            // valid when `box` is set
    };

    bool PassesRoom(const ECS::IEntity* entity) const;
    void IntegrateForces(float dt);
    void FindContacts(float dt);
    // Fills `pairs` with the (i, j) that may touch this step, in registry order.
    void BroadPhase(float dt);
    // Appends to `found` the pairs whose swept bounds meet, as the sweep meets them.
    void Sweep(float dt);
    void TestPair(const Candidate& a, const Candidate& b, float dt);
    void IntegrateVelocities(float dt);

    // The few numbers the pair loop reads for every pair, packed so the loop stays in cache.
    struct PairBounds
    {
        float x = 0.0f, y = 0.0f;   // centre
        float vx = 0.0f, vy = 0.0f; // velocity
        float bound = 0.0f;         // radius holding every shape
        float hx = 0.0f, hy = 0.0f; // half sizes of a box around the centre holding every shape
        float extent = 0.0f;        // bound grown by the entry's own travel in the step
        uint32_t index = 0;         // the candidate's registry place
        uint32_t layer = 0;
        bool shaped = false;
        bool moving = false;
        bool trigger = false; // one of its colliders is a trigger
    };

    // The broad phase's pair filter: false only for a pair no shape test can report.
    static bool MayTouch(const PairBounds& a, const PairBounds& b, float span);

    // What the sweep's inner loop reads of an entry, kept small so a whole pile's run of
    // neighbours stays in a few cache lines.
    struct SweepEntry
    {
        float lo = 0.0f, hi = 0.0f; // the swept bounds along the sweep's axis
        float across = 0.0f;        // the centre on the other axis
        float extent = 0.0f;        // as in PairBounds
        uint32_t index = 0;         // into `bounds`
    };

    std::vector<Candidate> candidates;                // reused between steps
    std::vector<PairBounds> bounds;                   // one per candidate, reused between steps
    std::vector<SweepEntry> sweep;                    // the shaped candidates by their low end
    std::vector<uint32_t> near;                       // places in `sweep` one entry may meet
    std::vector<std::pair<uint32_t, uint32_t>> found; // (i, j), i < j, as the sweep met them
    std::vector<std::pair<uint32_t, uint32_t>> pairs; // the same in registry order
    std::vector<uint32_t> pairStarts;                 // counting-sort offsets of `found` by i
};

} // namespace Varn::Physics
