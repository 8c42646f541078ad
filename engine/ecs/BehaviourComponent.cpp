#include "ecs/BehaviourComponent.h"

namespace Varn::ECS
{

void BehaviourComponent::BuildProperties()
{
    properties = {
        Property::Of("Type", &type),
    };
}

std::unique_ptr<IComponent> BehaviourComponent::Clone() const
{
    auto copy = std::make_unique<BehaviourComponent>();
    copy->type = type;
    copy->tree = tree; // shared on purpose: both entities tick one tree and one set of blackboards
    return FinishClone(std::move(copy));
}

} // namespace Varn::ECS
