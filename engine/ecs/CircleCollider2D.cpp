#include "ecs/CircleCollider2D.h"

#include "core/Scene.h"
#include "ecs/IEntity.h"
#include "physics/PhysicsSystem.h"

namespace Varn::Component
{

CircleCollider2D::~CircleCollider2D()
{
    // The physics system decides whether the entity stays: another collider or a body keeps it.
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->physicsSystem->RemoveComponent(
            owner, System::PhysicsSystem::PHYSICS_COMPONENT::CIRCLE_COLLIDER);
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
