#include "ai/PlayerLeaves.h"

#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/IEntity.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/ScriptComponent.h"
#include "ecs/TagRegistry.h"
#include "ecs/Transform.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Varn::AI
{

namespace
{
NodeStatus Result(bool passed)
{
    return passed ? Success : Failure;
}

struct Point
{
    float x = 0.0f;
    float y = 0.0f;
};

Point WorldPosition(const ECS::IEntity& entity)
{
    const auto* transform = entity.GetComponent<ECS::Transform>();
    if (transform == nullptr)
    {
        return {};
    }
    return {transform->worldMatrix.m[0][3], transform->worldMatrix.m[1][3]};
}

float Distance(const ECS::IEntity& a, const ECS::IEntity& b)
{
    const Point pa = WorldPosition(a);
    const Point pb = WorldPosition(b);
    return std::hypot(pa.x - pb.x, pa.y - pb.y);
}

bool FlippedX(const ECS::IEntity& entity)
{
    const auto* transform = entity.GetComponent<ECS::Transform>();
    return transform != nullptr && transform->flipX;
}

bool NamedOrTagged(const std::vector<ECS::EntityHandle>& list, const std::string& name, uint64_t tagMask)
{
    return std::any_of(list.begin(), list.end(),
                       [&](const ECS::EntityHandle& handle)
                       {
                           const ECS::IEntity* other = handle.AsSeen(); // a hit that removed itself counts
                           return other != nullptr &&
                                  (other->name == name || (tagMask != 0 && (other->tags & tagMask) != 0));
                       });
}
} // namespace

NodeStatus CollidingWithPlayer::Run()
{
    if (entity == nullptr || player == nullptr || entity->layer != player->layer)
    {
        return Failure;
    }
    if (const auto* body = entity->GetComponent<ECS::RigidBody>())
    {
        return Result(std::any_of(body->contacts.begin(), body->contacts.end(),
                                  [this](const ECS::ContactInfo& contact)
                                  { return contact.other == player; }));
    }
    const auto* box = entity->GetComponent<ECS::BoxCollider2D>();
    if (box == nullptr)
    {
        return Failure;
    }
    return Result(std::find(box->triggerEntities.begin(), box->triggerEntities.end(), player) !=
                  box->triggerEntities.end());
}

NodeStatus CheckCollisionName::Run()
{
    if (entity == nullptr)
    {
        return Failure;
    }
    const uint64_t tagMask = services.tags.Value(name);
    if (const auto* box = entity->GetComponent<ECS::BoxCollider2D>())
    {
        if (NamedOrTagged(box->triggerEntities, name, tagMask))
        {
            return Success;
        }
    }
    const auto* circle = entity->GetComponent<ECS::CircleCollider2D>();
    return Result(circle != nullptr && NamedOrTagged(circle->triggerEntities, name, tagMask));
}

NodeStatus IsPlayerNear::Run()
{
    if (entity == nullptr)
    {
        return Failure;
    }
    const ECS::Scene* scene = services.scenes.current;
    const ECS::IEntity* player =
        scene != nullptr ? ECS::EntityManager::FindByName(scene->entities, "Player") : nullptr;
    if (player == nullptr || entity->GetComponent<ECS::RigidBody>() == nullptr ||
        entity->layer != player->layer)
    {
        return Failure;
    }
    if (!(Distance(*entity, *player) < range))
    {
        return Failure;
    }
    const float ex = WorldPosition(*entity).x;
    const float px = WorldPosition(*player).x;
    if (ex > px)
    {
        return Result(FlippedX(*entity)); // player to the left: looks left when flipped
    }
    if (px > ex)
    {
        return Result(!FlippedX(*entity));
    }
    return Failure; // level in x: on neither side
}

NodeStatus IsFacingPlayer::Run()
{
    if (entity == nullptr || player == nullptr || entity->layer != player->layer)
    {
        return Failure;
    }
    const float ex = WorldPosition(*entity).x;
    const float px = WorldPosition(*player).x;
    const bool flipped = FlippedX(*entity);
    return Result((ex >= px && !flipped) || (px >= ex && flipped));
}

NodeStatus WithinAttackRange::Run()
{
    if (entity == nullptr || player == nullptr || entity->layer != player->layer)
    {
        return Failure;
    }
    return Result(Distance(*entity, *player) < range);
}

NodeStatus AttackPlayer::Run()
{
    auto* script = player != nullptr ? player->GetComponent<ECS::ScriptComponent>() : nullptr;
    if (script == nullptr)
    {
        return Failure;
    }
    // Variables are only looked up, never created: inventing a health the player's script does
    // not know would hide a content error behind a silently immortal player.
    auto armour = script->floatList.find("PlayerArmour");
    auto health = script->floatList.find("PlayerHealth");
    if (armour != script->floatList.end() && armour->second > 0.0f)
    {
        armour->second -= ARMOUR_PER_HIT;
        return Success;
    }
    if (health == script->floatList.end())
    {
        return Failure;
    }
    health->second -= HEALTH_PER_HIT;
    return Success;
}

NodeStatus CheckYRange::Run()
{
    if (entity == nullptr || other == nullptr || entity->GetComponent<ECS::Transform>() == nullptr ||
        other->GetComponent<ECS::Transform>() == nullptr)
    {
        return Failure;
    }
    const float ey = WorldPosition(*entity).y;
    const float oy = WorldPosition(*other).y;
    return Result(oy - range < ey && ey < oy + range);
}

} // namespace Varn::AI
