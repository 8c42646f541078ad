#include "ecs/BoxCollider2D.h"

namespace Varn::ECS
{

void BoxCollider2D::BuildProperties()
{
    properties = {
        Property::Of("Scale X", &scaleX),    Property::Of("Scale Y", &scaleY),
        Property::Of("Offset", &offset),     Property::Of("Is Trigger", &isTrigger),
        Property::Of("Accuracy", &accuracy),
    };
}

std::unique_ptr<IComponent> BoxCollider2D::Clone() const
{
    auto copy = std::make_unique<BoxCollider2D>();
    copy->scaleX = scaleX;
    copy->scaleY = scaleY;
    copy->offset = offset;
    copy->isTrigger = isTrigger;
    copy->accuracy = accuracy;
    copy->triggerEntities = triggerEntities;
    copy->collidingEntities = collidingEntities;
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
