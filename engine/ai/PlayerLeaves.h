#pragma once
// Leaves that relate an enemy to the player or to what it touches. Positions are world
// translations, distances are in x and y only and strict (< range). Note the two facing
// conventions: IsPlayerNear takes a clear flipX as looking to +x, IsFacingPlayer as looking to -x.
#include "ai/INode.h"
#include "core/Services.h"
#include "ecs/EntityHandle.h"

#include <string>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::AI
{

// Succeeds while the player touches the entity: a contact of its body, or, without a body, an
// overlap of its box trigger.
class CollidingWithPlayer final : public INode
{
public:
    CollidingWithPlayer(ECS::IEntity* entity_, ECS::IEntity* player_) : entity(entity_), player(player_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null: then the leaf fails
    ECS::EntityHandle player; // may be null
};

// Succeeds while something named `name`, or tagged with it, overlaps one of the entity's triggers.
class CheckCollisionName final : public INode
{
public:
    CheckCollisionName(const Services& services_, ECS::IEntity* entity_, std::string name_)
        : services(services_), entity(entity_), name(std::move(name_))
    {
    }
    NodeStatus Run() override;
    const Services& services;
    ECS::EntityHandle entity; // may be null
    std::string name;
};

// Succeeds when the scene's "Player" is within range on the side the entity looks to.
class IsPlayerNear final : public INode
{
public:
    IsPlayerNear(const Services& services_, float range_, ECS::IEntity* entity_)
        : services(services_), range(range_), entity(entity_)
    {
    }
    NodeStatus Run() override;
    const Services& services;
    float range;
    ECS::EntityHandle entity; // may be null
};

class IsFacingPlayer final : public INode
{
public:
    IsFacingPlayer(ECS::IEntity* entity_, ECS::IEntity* player_) : entity(entity_), player(player_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
    ECS::EntityHandle player; // may be null
};

class WithinAttackRange final : public INode
{
public:
    WithinAttackRange(float range_, ECS::IEntity* entity_, ECS::IEntity* player_)
        : range(range_), entity(entity_), player(player_)
    {
    }
    NodeStatus Run() override;
    float range;
    ECS::EntityHandle entity; // may be null
    ECS::EntityHandle player; // may be null
};

// Armour soaks a whole hit (3 points of it); without armour the player loses 1 health.
class AttackPlayer final : public INode
{
public:
    static constexpr float ARMOUR_PER_HIT = 3.0f;
    static constexpr float HEALTH_PER_HIT = 1.0f;
    explicit AttackPlayer(ECS::IEntity* player_) : player(player_) {}
    NodeStatus Run() override;
    ECS::EntityHandle player; // may be null
};

// Succeeds while the entity's y is strictly within range of the other's.
class CheckYRange final : public INode
{
public:
    CheckYRange(float range_, ECS::IEntity* entity_, ECS::IEntity* other_)
        : range(range_), entity(entity_), other(other_)
    {
    }
    NodeStatus Run() override;
    float range;
    ECS::EntityHandle entity; // may be null
    ECS::EntityHandle other;  // may be null
};

} // namespace Varn::AI
