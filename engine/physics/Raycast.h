#pragma once
// Straight-segment queries against the colliders of the physics registry: the one query that
// ray components, script events and behaviours share. A cast reads what the last step left and
// writes only its own results (and a ray component's rays and markers).
#include "core/Services.h"
#include "core/Vector4.h"

#include <string>

namespace Varn::ECS
{
class IEntity;
class RaycastComponent;
} // namespace Varn::ECS

namespace Varn::Physics
{

// Casts the segment from `from`'s world position to that position + `ray`. `hitPoint` gets the
// end of the part travelled (w 1); `hitEntity` the nearest entity hit, untouched on a miss. An
// empty `tagFilter` accepts every entity, else only those carrying that tag.
bool Raycast(const Services& services, const ECS::IEntity* from, const Vector4& ray, Vector4& hitPoint,
             ECS::IEntity*& hitEntity, std::string tagFilter);

// Casts every ray of the component in order, mirroring a ray once each time its entity's flip
// changes; fills `hitEntities` with the distinct entities hit. True when any ray hit.
bool CastRays(const Services& services, ECS::RaycastComponent& component);

} // namespace Varn::Physics
