#pragma once
// The four built-in enemy trees, one builder per BehaviourType. A builder fills a new tree's
// blackboards, creates the stopwatches it needs in the engine Timer, wires the nodes and stores
// the tree in the component, replacing any previous one. The player ("Player" in the current
// scene) and the entity's children are looked up once, at build time.
namespace Varn::ECS
{
class IEntity;
}
namespace Varn::Component
{
class BehaviourComponent;
}

namespace Varn::Behaviours
{

// Builds the tree that the component's type names; a type without a builder leaves the
// component without a tree, so the entity simply does nothing.
void BuildTree(ECS::IEntity& entity, Component::BehaviourComponent& behaviour);

void BuildPatrollingMelee(ECS::IEntity& entity, Component::BehaviourComponent& behaviour);
void BuildTurret(ECS::IEntity& entity, Component::BehaviourComponent& behaviour);
void BuildFlyingBomber(ECS::IEntity& entity, Component::BehaviourComponent& behaviour);
void BuildSpawner(ECS::IEntity& entity, Component::BehaviourComponent& behaviour);

} // namespace Varn::Behaviours
