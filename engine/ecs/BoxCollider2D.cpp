#include "ecs/BoxCollider2D.h"

namespace Varn::ECS
{

void BoxCollider2D::BuildProperties()
{
    properties.clear();
    properties.push_back(Property::Of("Scale X", &scaleX));
    properties.push_back(Property::Of("Scale Y", &scaleY));
    properties.push_back(Property::Of("Offset", &offset));
    properties.push_back(Property::Of("Is Trigger", &isTrigger));
    properties.push_back(Property::Of("Accuracy", &accuracy));
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
