#include "ecs/CircleCollider2D.h"

#include "core/Scene.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/IEntity.h"
#include "ecs/RigidBody.h"
#include "physics/PhysicsSystem.h"

namespace Varn::Component
{

CircleCollider2D::~CircleCollider2D()
{
    // A body or the other collider keeps the entity in the physics pass.
    if (owner != nullptr && owner->scene != nullptr && !owner->HasAnyComponent<RigidBody, BoxCollider2D>())
    {
        owner->scene->physicsSystem->RemoveEntity(owner);
    }
}

void CircleCollider2D::Register()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->physicsSystem->AddEntity(owner);
    }
}

void CircleCollider2D::BuildProperties()
{
    properties.clear();
    properties.push_back(ECS::Property::Of("Radius_Scale", &radiusScale));
    properties.push_back(ECS::Property::Of("Offset", &offset));
    properties.push_back(ECS::Property::Of("Is Trigger", &isTrigger));
}

std::unique_ptr<ECS::IComponent> CircleCollider2D::Clone() const
{
    auto copy = std::make_unique<CircleCollider2D>();
    copy->radiusScale = radiusScale;
    copy->offset = offset;
    copy->isTrigger = isTrigger;
    copy->triggerEntities = triggerEntities;
    return FinishClone(std::move(copy));
}

} // namespace Varn::Component
