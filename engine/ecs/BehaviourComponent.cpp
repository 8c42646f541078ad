#include "ecs/BehaviourComponent.h"

#include "ai/AISystem.h"
#include "core/Scene.h"
#include "ecs/IEntity.h"

namespace Varn::Component
{

BehaviourComponent::~BehaviourComponent()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->aiSystem->RemoveEntity(owner);
    }
}

void BehaviourComponent::Register()
{
    if (owner != nullptr && owner->scene != nullptr)
    {
        owner->scene->aiSystem->AddEntity(owner);
    }
}

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
