#pragma once
// The mass, material and velocity of an entity that the PhysicsSystem moves. Content and
// scripts write these fields; the physics step integrates velocity and resolves contacts.
// An entity with a body or any collider is in the physics working set.
#include "core/Vector4.h"
#include "ecs/EntityHandle.h"
#include "ecs/IComponent.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Varn::ECS
{
class IEntity;

// A force the body applies to itself, for a while or for ever.
struct ForceEntry
{
    static constexpr float PERMANENT = -999.9f; // timeLeft of a force that never ends

    Vector4 force{0, 0, 0, 0};  // x, y, z used
    float timeLeft = PERMANENT; // seconds
};

// One touching partner found by the collision pass.
struct ContactInfo
{
    EntityHandle other; // the partner; null once freed (the list outlives the step)
    Vector4 normal{0, 0, 0, 0};
};

class RigidBody final : public IComponent
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
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    // What scripts and behaviours do to a body.
    static constexpr float ONE_STEP = 0.016666668f; // seconds: one step at 60 Hz
    // Adds a force lasting `seconds`, or for ever when `seconds` is 0 or less. A zero force is
    // not worth an entry and is dropped.
    void AddForce(const Vector4& force, float seconds = 0.0f);
    // Replaces every force by this one for a single step; a zero force just clears them.
    void SetForce(const Vector4& force);
    void SetVelocity(const Vector4& value) { velocity = value; }
    // "DYNAMIC", "KINEMATIC" or "STATIC"; a new mode starts without bounce. An unknown name
    // changes nothing and returns false.
    bool SetMode(const std::string& modeName);
    // A mass of 0 or less makes the body immovable rather than infinitely light.
    void SetMass(float value)
    {
        mass = value;
        inverseMass = value > 0.0f ? 1.0f / value : 0.0f;
    }
    void SetFriction(float value) { friction = value; }
    void SetDrag(float value) { drag = value; }
    void SetGravityScale(float value) { gravityScale = value; }
    // Adds a tag mask to ignore, once.
    void AddIgnoreTag(uint64_t mask);
    void ClearIgnoreTags() { ignoreTags.clear(); }

    RIGIDBODY_MODE rigidbodyMode = DYNAMIC; // "Rigidbody Mode"
    bool rotational = false;                // "Rotational": contacts may spin the body
    float mass = 1.0f;                      // "Mass"
    float drag = 0.99f;                     // "Drag": velocity factor per step, 1 = no drag
    float friction = 0.5f;                  // "Friction": share of velocity lost into a contact
    float bounciness = 0.0f;                // "Bounciness": restitution
    float gravityScale = 1.0f;              // "Gravity Scale"
    Vector4 velocity{0, 0, 0, 0};           // "Velocity", world units per second

    // Step state, not serialised; written by the physics step and by script and behaviour actions.
    Vector4 acceleration{0, 0, 0, 0};    // recomputed every step
    Vector4 netForce{0, 0, 0, 0};        // sum of `forces` this step
    Vector4 angularVelocity{0, 0, 0, 0}; // only z, degrees per step
    float inverseMass = 1.0f;            // 1 / mass, 0 for an immovable body
    bool grounded = false;               // resting on something this step
    std::vector<ForceEntry> forces;      // the body's own forces
    std::vector<ContactInfo> contacts;   // this step's contacts, as the shape tests report them
    std::vector<ContactInfo> blockers;   // this step's blocking partners, normal towards this body
    std::vector<uint64_t> ignoreTags;    // tag masks this body never collides with
};

} // namespace Varn::ECS
