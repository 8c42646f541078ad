#include "ecs/RigidBody.h"

#include "core/Scene.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/IEntity.h"
#include "physics/PhysicsSystem.h"

namespace Varn::Component
{

RigidBody::~RigidBody()
{
    // A remaining collider keeps the entity in the physics pass.
    if (owner != nullptr && owner->scene != nullptr &&
        !owner->HasAnyComponent<CircleCollider2D, BoxCollider2D>())
    {
        owner->scene->physicsSystem->RemoveEntity(owner);
    }
}

void RigidBody::Register()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->physicsSystem->AddEntity(owner);
    }
}

void RigidBody::BuildProperties()
{
    properties.clear();
    properties.push_back(ECS::Property::Of("Rigidbody Mode", &rigidbodyMode));
    properties.push_back(ECS::Property::Of("Rotational", &rotational));
    properties.push_back(ECS::Property::Of("Mass", &mass));
    properties.push_back(ECS::Property::Of("Drag", &drag));
    properties.push_back(ECS::Property::Of("Friction", &friction));
    properties.push_back(ECS::Property::Of("Bounciness", &bounciness));
    properties.push_back(ECS::Property::Of("Gravity Scale", &gravityScale));
    properties.push_back(ECS::Property::Of("Velocity", &velocity));
}

std::unique_ptr<ECS::IComponent> RigidBody::Clone() const
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

} // namespace Varn::Component
