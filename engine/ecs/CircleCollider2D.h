#pragma once
// A circle that the PhysicsSystem collides, sized from the entity's world scale. As a trigger
// it reports overlaps instead of pushing; the collision pass rewrites triggerEntities each step.
#include "core/Vector4.h"
#include "ecs/EntityHandle.h"
#include "ecs/IComponent.h"

#include <vector>

namespace Varn::ECS
{
class IEntity;

class CircleCollider2D final : public IComponent
{
public:
    CircleCollider2D() : IComponent("Circle Collider") {}
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    float radiusScale = 1.0f;                  // "Radius_Scale": multiplies the radius taken from the entity
    Vector4 offset{0, 0, 0, 0};                // "Offset" of the centre from the entity, world units
    bool isTrigger = false;                    // "Is Trigger"
    std::vector<EntityHandle> triggerEntities; // overlapping entities; null once freed
};

} // namespace Varn::ECS
