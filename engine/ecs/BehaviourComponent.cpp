#include "ecs/BehaviourComponent.h"

namespace Varn::Component
{

void BehaviourComponent::BuildProperties()
{
    properties.clear();
    properties.push_back(ECS::Property::Of("Type", &type));
}

std::unique_ptr<ECS::IComponent> BehaviourComponent::Clone() const
{
    auto copy = std::make_unique<BehaviourComponent>();
    copy->type = type;
    copy->tree = tree; // shared on purpose: both entities tick one tree and one set of blackboards
    return FinishClone(std::move(copy));
}

} // namespace Varn::Component
