#include "ecs/IComponent.h"

#include "ecs/IEntity.h"

namespace Varn::ECS
{

bool IComponent::IsActive() const
{
    return enabled && owner != nullptr && owner->IsActiveInHierarchy();
}

} // namespace Varn::ECS
