#pragma once
// The mass, material and velocity of an entity that the PhysicsSystem moves. Content and
// scripts write these fields; the physics step integrates velocity and resolves contacts.
// An entity with a body or any collider is in the physics working set.
#include "core/Vector4.h"
#include "ecs/IComponent.h"

#include <cstdint>
#include <vector>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::Component
{

// A force the body applies to itself, for a while or for ever.
struct ForceEntry
{
    static constexpr float PERMANENT = -999.9f; // timeLeft of a force that never ends

    Math::Vector4 force{0, 0, 0, 0}; // x, y, z used
    float timeLeft = PERMANENT;      // seconds
};

// One touching partner found by the collision pass.
struct ContactInfo
{
    ECS::IEntity* other = nullptr; // the partner; not owned
    Math::Vector4 normal{0, 0, 0, 0};
};

class RigidBody final : public ECS::IComponent
{
public:
    // How the step treats the body; scripts set it by these exact names.
    enum RIGIDBODY_MODE : int32_t
    {
        DYNAMIC = 0,   // gravity, forces, drag and contacts all act
        KINEMATIC = 1, // falls and takes forces, but no drag and contacts do not push it
        STATIC = 2,    // no gravity and no collisions; still moves by its own forces
    };

    RigidBody() : IComponent("Rigidbody") {}
    ~RigidBody() override;

    void Register() override;
    void BuildProperties() override;
    std::unique_ptr<ECS::IComponent> Clone() const override;

    RIGIDBODY_MODE rigidbodyMode = DYNAMIC; // "Rigidbody Mode"
    bool rotational = false;                // "Rotational": contacts may spin the body
    float mass = 1.0f;                      // "Mass"
    float drag = 0.99f;                     // "Drag": velocity factor per step, 1 = no drag
    float friction = 0.5f;                  // "Friction": share of velocity lost into a contact
    float bounciness = 0.0f;                // "Bounciness": restitution
    float gravityScale = 1.0f;              // "Gravity Scale"
    Math::Vector4 velocity{0, 0, 0, 0};     // "Velocity", world units per second

    // Step state, not serialised; written by the physics step and by script and behaviour actions.
    Math::Vector4 acceleration{0, 0, 0, 0};    // recomputed every step
    Math::Vector4 netForce{0, 0, 0, 0};        // sum of `forces` this step
    Math::Vector4 angularVelocity{0, 0, 0, 0}; // only z, degrees per step
    float inverseMass = 1.0f;                  // 1 / mass, 0 for an immovable body
    bool grounded = false;                     // resting on something this step
    std::vector<ForceEntry> forces;            // the body's own forces
    std::vector<ContactInfo> contacts;         // this step's contacts, as the shape tests report them
    std::vector<ContactInfo> blockers;         // this step's blocking partners, normal towards this body
    std::vector<uint64_t> ignoreTags;          // tag masks this body never collides with
};

} // namespace Varn::Component
