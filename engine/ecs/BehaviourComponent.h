#pragma once
// Chooses which built-in behaviour tree drives an enemy. The AISystem builds the tree on the
// entity's first active step and ticks it every step; copies share one tree and its
// blackboards.
#include "ecs/IComponent.h"

#include <cstdint>
#include <memory>

namespace Varn::AI
{
class BehaviourTree;
}

namespace Varn::ECS
{

// The built-in trees. Other values name no tree, so nothing is built for them.
enum BehaviourType : int32_t
{
    PATROLLING_MELEE = 0,
    TURRET = 1,
    FLYING_BOMBER = 2,
    SPAWNER = 3,
};

class BehaviourComponent final : public IComponent
{
public:
    BehaviourComponent() : IComponent("Behaviour") {}
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    BehaviourType type = PATROLLING_MELEE;   // "Type"
    std::shared_ptr<AI::BehaviourTree> tree; // empty until the AISystem builds it
};

} // namespace Varn::ECS
