#pragma once
// Corvalune's four enemies, each a behaviour-tree builder: the patrolling melee grunt, the snail
// turret, the flying bomber and the fish-nest spawner. A builder fills a new tree's blackboards,
// creates the stopwatches it needs in the engine Timer, wires the nodes and stores the tree in
// the component. The player ("Player" in the current scene) and the entity's children are looked
// up once, at build time. The game registers them with the engine before its first scene.
#include "core/Services.h"

namespace Varn::ECS
{
class IEntity;
class BehaviourComponent;
} // namespace Varn::ECS

namespace Varn::Game
{

// Registers the four builders under the Behaviour component's type numbers 0 to 3.
void RegisterEnemies();

void BuildPatrollingMelee(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services);
void BuildTurret(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services);
void BuildFlyingBomber(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services);
void BuildSpawner(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services);

} // namespace Varn::Game
