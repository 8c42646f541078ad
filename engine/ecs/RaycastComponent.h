#pragma once
// A set of rays an entity casts when its script asks for ray contacts. Content writes each
// ray's `direction`; the cast writes the rest of the ray and `hitEntities`. The component joins
// no system: the script and behaviour code cast on demand through the physics registry.
#include "core/Vector4.h"
#include "ecs/IComponent.h"

#include <vector>

namespace Varn::ECS
{
class IEntity;

class RaycastComponent final : public IComponent
{
public:
    struct Ray
    {
        Ray() = default;
        explicit Ray(const Vector4& direction_) : direction(direction_) {}

        Vector4 worldDirection{0, 0, 0, 0}; // `direction` in world orientation, w 0; per cast
        Vector4 hitPoint{0, 0, 0, 1};       // where the last cast ended, w 1
        Vector4 direction{0, 0, 0, 0};      // in the entity's orientation; length = reach
        IEntity* marker = nullptr;          // may be null; moved to hitPoint after each cast
        bool lastFlipX = false;             // the entity's flips seen by the previous cast
        bool lastFlipY = false;

        bool operator==(const Ray& o) const = default;
    };

    RaycastComponent() : IComponent("Raycast") {}
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    std::vector<Ray> rays;             // "Rays"
    std::vector<IEntity*> hitEntities; // distinct entities hit by the last cast; not owned
};

} // namespace Varn::ECS
