#pragma once
// Builds and ticks the behaviour tree of every entity with a behaviour component, once per
// simulation step between the scripts and physics. Leaves may ask for entities to be removed
// through `killList`; the system removes them right after the tick of the entity whose tree
// asked, so later entities in the same step never see them.
#include "core/ISystem.h"

#include <cstddef>
#include <vector>

namespace Varn::AI
{

class AISystem : public ISystem
{
public:
    AISystem(ECS::Scene* scene, const Services& services);
    // dt is unused: trees time themselves with the Timer's stopwatches.
    void Update(const float& dt) override;

    std::vector<ECS::IEntity*> killList; // not owned; emptied after each entity's tick

private:
    std::size_t cursor = 0; // index of the entity being ticked

    bool InCameraRoom(const ECS::IEntity* entity) const;
    void TickEntity(ECS::IEntity* entity);
};

} // namespace Varn::AI
