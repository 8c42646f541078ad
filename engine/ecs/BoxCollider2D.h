#pragma once
// A box turned with the entity that the PhysicsSystem collides, sized from its world scale. As a
// trigger it reports overlaps instead of pushing; the collision pass rewrites both entity
// lists each step.
#include "core/Vector4.h"
#include "ecs/IComponent.h"

#include <vector>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::Component
{

class BoxCollider2D final : public ECS::IComponent
{
public:
    BoxCollider2D() : IComponent("Box Collider") {}
    ~BoxCollider2D() override;

    void Register() override;
    void BuildProperties() override;
    std::unique_ptr<ECS::IComponent> Clone() const override;

    float scaleX = 1.0f;                          // "Scale X": multiplies the width taken from the entity
    float scaleY = 1.0f;                          // "Scale Y": multiplies the height
    Math::Vector4 offset{0, 0, 0, 0};             // "Offset" of the centre from the entity, world units
    bool isTrigger = false;                       // "Is Trigger"
    bool accuracy = false;                        // "Accuracy": use the swept box test, not the quick overlap
    std::vector<ECS::IEntity*> triggerEntities;   // overlapping entities; not owned
    std::vector<ECS::IEntity*> collidingEntities; // touching entities; not owned
};

} // namespace Varn::Component
