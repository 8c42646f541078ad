#pragma once
// A box turned with the entity that the PhysicsSystem collides, sized from its world scale. As a
// trigger it reports overlaps instead of pushing; the collision pass rewrites both entity
// lists each step.
#include "core/Vector4.h"
#include "ecs/EntityHandle.h"
#include "ecs/IComponent.h"

#include <vector>

namespace Varn::ECS
{
class IEntity;

class BoxCollider2D final : public IComponent
{
public:
    BoxCollider2D() : IComponent("Box Collider") {}
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    float scaleX = 1.0f;        // "Scale X": multiplies the width taken from the entity
    float scaleY = 1.0f;        // "Scale Y": multiplies the height
    Vector4 offset{0, 0, 0, 0}; // "Offset" of the centre from the entity, world units
    bool isTrigger = false;     // "Is Trigger"
    bool accuracy = false;      // "Accuracy": use the swept box test, not the quick overlap
    // Kept from one step's collision pass to the next step's scripts and behaviours, which may
    // free an entity in between: handles resolve such an entity to null.
    std::vector<EntityHandle> triggerEntities;   // overlapping entities
    std::vector<EntityHandle> collidingEntities; // touching entities
};

} // namespace Varn::ECS
