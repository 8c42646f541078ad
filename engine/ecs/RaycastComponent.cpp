#include "ecs/RaycastComponent.h"

namespace Varn::ECS
{

void RaycastComponent::BuildProperties()
{
    properties = {
        Property::Of("Rays", &rays),
    };
}

std::unique_ptr<IComponent> RaycastComponent::Clone() const
{
    auto copy = std::make_unique<RaycastComponent>();
    copy->rays = rays;
    copy->hitEntities = hitEntities;
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
