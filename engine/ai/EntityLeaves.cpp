#include "ai/EntityLeaves.h"

#include "ai/AISystem.h"
#include "ai/PrefabSpawner.h"
#include "ecs/Animator.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/IEntity.h"
#include "ecs/RigidBody.h"
#include "ecs/Scene.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/TagRegistry.h"
#include "ecs/Transform.h"
#include "physics/Raycast.h"
#include "resource/AudioManager.h"
#include "resource/ResourceManager.h"

namespace Varn::AI
{

namespace
{
template <typename T> T* ComponentOf(const ECS::IEntity* entity)
{
    return entity != nullptr ? entity->GetComponent<T>() : nullptr;
}
} // namespace

NodeStatus FlipX::Run()
{
    auto* transform = ComponentOf<ECS::Transform>(entity);
    if (transform == nullptr)
    {
        return Failure;
    }
    transform->flipX = value;
    return Success;
}

NodeStatus ColliderAhead::Run()
{
    auto* box = ComponentOf<ECS::BoxCollider2D>(collider);
    const auto* transform = ComponentOf<ECS::Transform>(facing);
    if (box == nullptr || transform == nullptr)
    {
        return Failure;
    }
    box->offset.x = transform->flipX ? -ahead : ahead;
    return Success;
}

NodeStatus Rotate::Run()
{
    auto* transform = ComponentOf<ECS::Transform>(entity);
    if (transform == nullptr)
    {
        return Failure;
    }
    Vector4 world = ECS::Transform::EulerFromMatrix(transform->worldMatrix);
    world.z += amount;
    transform->angle = world;
    return Success;
}

NodeStatus Move::Run()
{
    if (auto* body = ComponentOf<ECS::RigidBody>(entity))
    {
        body->AddForce(force, PUSH_SECONDS);
    }
    return Success;
}

NodeStatus StopMoving::Run()
{
    if (auto* body = ComponentOf<ECS::RigidBody>(entity))
    {
        body->velocity = {0.0f, body->velocity.y, 0.0f, 0.0f};
    }
    return Success;
}

NodeStatus SetTrigger::Run()
{
    if (auto* box = ComponentOf<ECS::BoxCollider2D>(entity))
    {
        box->isTrigger = value;
    }
    return Success;
}

NodeStatus SetTexture::Run()
{
    auto* renderer = ComponentOf<ECS::SpriteRenderer>(entity);
    if (renderer == nullptr)
    {
        return Success;
    }
    // The texture may be one no scene entity named when the scene loaded: read it now, as the
    // sprite action does, or the renderer would get a texture without pixels or size.
    renderer->texture = services.resources.LoadTexture(*path);
    renderer->frame = 0;
    renderer->texOffset = {0.0f, 0.0f};
    return Success;
}

NodeStatus SetAnimation::Run()
{
    if (auto* animator = ComponentOf<ECS::Animator>(entity))
    {
        animator->SetAnimation(name);
    }
    return Success;
}

NodeStatus CheckFrameCount::Run()
{
    auto* animator = ComponentOf<ECS::Animator>(entity);
    if (animator == nullptr || animator->currentAnimation == nullptr)
    {
        return Failure;
    }
    return animator->currentAnimation->currentFrame == frame ? Success : Failure;
}

NodeStatus SetTint::Run()
{
    auto* renderer = ComponentOf<ECS::SpriteRenderer>(entity);
    if (renderer == nullptr)
    {
        return Failure;
    }
    renderer->tint = colour;
    return Success;
}

NodeStatus DecreaseOpacity::Run()
{
    auto* renderer = ComponentOf<ECS::SpriteRenderer>(entity);
    if (renderer == nullptr)
    {
        return Failure;
    }
    renderer->opacity *= FACTOR;
    return Success;
}

NodeStatus CheckOpacity::Run()
{
    auto* renderer = ComponentOf<ECS::SpriteRenderer>(entity);
    if (renderer == nullptr)
    {
        return Failure;
    }
    return renderer->opacity <= threshold ? Success : Failure;
}

NodeStatus SetTag::Run()
{
    if (entity == nullptr)
    {
        return Success;
    }
    const ECS::TagRegistry& registry = services.tags;
    uint64_t mask = 0;
    for (const std::string& name : names)
    {
        mask |= registry.Value(name);
    }
    entity->tags = mask & 0xFFFFFFFFull; // tag masks are handed out as 32-bit values
    return Success;
}

AddIgnoreTag::AddIgnoreTag(const Services& services, ECS::IEntity* entity, const std::string& tagName)
{
    auto* body = ComponentOf<ECS::RigidBody>(entity);
    const uint64_t mask = services.tags.Value(tagName);
    // An unregistered name has no bit; ignoring "no tag" would mean nothing.
    if (body != nullptr && mask != 0)
    {
        body->AddIgnoreTag(mask);
    }
}

NodeStatus PlaySound::Run()
{
    services.audio.PlaySound(services.resources.LoadAudio(path), secondaryGroup, loop, fadeIn);
    return Success;
}

NodeStatus CreatePrefab::Run()
{
    auto* anchorTransform = ComponentOf<ECS::Transform>(anchor);
    const Vector4 at = anchorTransform != nullptr ? anchorTransform->position : position;
    ECS::IEntity* instance = InstantiatePrefab(services, path, at);
    if (instance == nullptr)
    {
        return Failure;
    }
    if (auto* transform = instance->GetComponent<ECS::Transform>())
    {
        transform->position = at;
        if (anchorTransform == nullptr)
        {
            transform->angle = angle;
        }
    }
    if (setLayer)
    {
        instance->layer = layer;
    }
    return Success;
}

NodeStatus CheckPrefab::Run()
{
    return entity != nullptr && entity->IsActiveInHierarchy() ? Success : Failure;
}

NodeStatus TogglePrefab::Run()
{
    if (entity == nullptr)
    {
        return Failure;
    }
    entity->gameObjectActive = value;
    return Success;
}

NodeStatus AddToKillList::Run()
{
    if (entity == nullptr || entity->scene == nullptr)
    {
        return Success;
    }
    entity->scene->aiSystem->killList.push_back(entity);
    return Success;
}

NodeStatus RayCast::Run()
{
    if (entity == nullptr)
    {
        return Failure;
    }
    return Physics::Raycast(services, entity, ray, hitPoint, hitEntity, tag) ? Success : Failure;
}

} // namespace Varn::AI
