#include "ecs/CircleCollider2D.h"

namespace Varn::ECS
{

void CircleCollider2D::BuildProperties()
{
    properties = {
        Property::Of("Radius_Scale", &radiusScale),
        Property::Of("Offset", &offset),
        Property::Of("Is Trigger", &isTrigger),
    };
}

std::unique_ptr<IComponent> CircleCollider2D::Clone() const
{
    auto copy = std::make_unique<CircleCollider2D>();
    copy->radiusScale = radiusScale;
    copy->offset = offset;
    copy->isTrigger = isTrigger;
    copy->triggerEntities = triggerEntities;
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
