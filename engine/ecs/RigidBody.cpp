#include "ecs/RigidBody.h"

#include <algorithm>

namespace Varn::ECS
{

void RigidBody::BuildProperties()
{
    properties = {
        Property::Of("Rigidbody Mode", &rigidbodyMode),
        Property::Of("Rotational", &rotational),
        Property::Of("Mass", &mass),
        Property::Of("Drag", &drag),
        Property::Of("Friction", &friction),
        Property::Of("Bounciness", &bounciness),
        Property::Of("Gravity Scale", &gravityScale),
        Property::Of("Velocity", &velocity),
    };
}

void RigidBody::AddForce(const Vector4& force, float seconds)
{
    if (force.x * force.x + force.y * force.y + force.z * force.z > 0.0f)
    {
        forces.push_back({force, seconds > 0.0f ? seconds : ForceEntry::PERMANENT});
    }
}

void RigidBody::SetForce(const Vector4& force)
{
    forces.clear();
    AddForce(force, ONE_STEP);
}

bool RigidBody::SetMode(const std::string& modeName)
{
    static const std::pair<const char*, RIGIDBODY_MODE> names[] = {
        {"DYNAMIC", DYNAMIC}, {"KINEMATIC", KINEMATIC}, {"STATIC", STATIC}};
    for (const auto& [text, mode] : names)
    {
        if (modeName == text)
        {
            rigidbodyMode = mode;
            bounciness = 0.0f;
            return true;
        }
    }
    return false;
}

void RigidBody::AddIgnoreTag(uint64_t mask)
{
    if (std::find(ignoreTags.begin(), ignoreTags.end(), mask) == ignoreTags.end())
    {
        ignoreTags.push_back(mask);
    }
}

std::unique_ptr<IComponent> RigidBody::Clone() const
{
    auto copy = std::make_unique<RigidBody>();
    copy->rigidbodyMode = rigidbodyMode;
    copy->rotational = rotational;
    copy->mass = mass;
    copy->drag = drag;
    copy->friction = friction;
    copy->bounciness = bounciness;
    copy->gravityScale = gravityScale;
    copy->velocity = velocity;
    // A copy keeps its step state, but not the tags it ignores.
    copy->acceleration = acceleration;
    copy->netForce = netForce;
    copy->angularVelocity = angularVelocity;
    copy->inverseMass = inverseMass;
    copy->grounded = grounded;
    copy->forces = forces;
    copy->contacts = contacts;
    copy->blockers = blockers;
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
