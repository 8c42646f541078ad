#pragma once
// The response passes of the physics step over one contact: friction, the impulse with its
// kinematic and blocker rules, spin, and position correction through velocity. They write the
// velocities, spins and blockers of the contact's bodies and nothing else.
#include "core/Vector4.h"
#include "physics/Contact.h"

#include <vector>

namespace Varn::ECS
{
class RigidBody;
}

namespace Varn::Physics
{

class ContactSolver
{
public:
    // Takes a share of the velocity off a body that moves into the contact.
    static void ApplyFriction(const Contact& contact);
    // One impulse iteration: separates approaching bodies, hands kinematic velocities on and
    // records immovable partners as blockers.
    static void ResolveImpulse(const Contact& contact);
    // The impulse passes of a step: in each iteration the contacts with fixed colliders, then
    // those between bodies, then the fixed ones again, so fixed colliders get the first and the
    // last word.
    static void ResolveImpulses(const std::vector<Contact>& fixed, const std::vector<Contact>& bodies,
                                unsigned iterations);
    // Pushes overlapping bodies apart by changing their velocity for this step; dt in seconds.
    static void CorrectPosition(const Contact& contact, float dt);
    // Turns the body by the impulse `delta` applied at `point` (world).
    static void ApplySpin(const ECS::IEntity& entity, ECS::RigidBody& body, const Vector4& point,
                          const Vector4& delta);
    // A world-space displacement as the entity's parent-relative position sees it. Unchanged
    // when the world matrix cannot be inverted (for example before it was first computed).
    static Vector4 ToParentSpace(const ECS::IEntity& entity, const Vector4& delta);
};

} // namespace Varn::Physics
