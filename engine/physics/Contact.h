#pragma once
// One solid contact of a physics step, kept by value in the PhysicsSystem's two queues and
// read by the response passes. Valid for the step that found it only.
#include "core/Vector4.h"

namespace Varn::ECS
{
class IEntity;
class RigidBody;
} // namespace Varn::ECS

namespace Varn::Physics
{

struct Contact
{
    ECS::IEntity* a = nullptr;  // has a RigidBody (for two bodies, the earlier registry entry)
    ECS::IEntity* b = nullptr;  // the partner; may lack a RigidBody
    Vector4 normal{0, 0, 0, 0}; // unit, from b towards a; w as the shape test left it
    Vector4 point{0, 0, 0, 0};  // world contact point, x y z; (0, 0, 0) for two circles
    float depth = 0.0f;         // penetration; 0 or less for a contact ahead in time
    // a's and b's RigidBody (b's may be null), looked up once when the contact is made: the
    // response passes read them many times a step.
    ECS::RigidBody* bodyA = nullptr;
    ECS::RigidBody* bodyB = nullptr;
    // Whether each body was active when the contact was made. The response passes never change
    // it, and asking the hierarchy again in every solver iteration was a tenth of a busy step.
    bool activeA = true;
    bool activeB = true;
};

} // namespace Varn::Physics
