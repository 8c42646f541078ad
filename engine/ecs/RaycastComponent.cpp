#include "ecs/RaycastComponent.h"

namespace Varn::Component
{

void RaycastComponent::BuildProperties()
{
    properties.clear();
    properties.push_back(ECS::Property::Of("Rays", &rays));
}

std::unique_ptr<ECS::IComponent> RaycastComponent::Clone() const
{
    auto copy = std::make_unique<RaycastComponent>();
    copy->rays = rays;
    copy->hitEntities = hitEntities;
    return FinishClone(std::move(copy));
}

} // namespace Varn::Component
