#pragma once
// The mass, material and velocity of an entity that the PhysicsSystem moves. Content and
// scripts write these fields; the physics step integrates velocity and resolves contacts.
// An entity with a body or any collider is in the physics working set.
#include "core/Vector4.h"
#include "ecs/IComponent.h"

#include <cstdint>

namespace Varn::Component
{

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
};

} // namespace Varn::Component
