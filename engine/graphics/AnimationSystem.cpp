#include "graphics/AnimationSystem.h"

#include "ecs/Animator.h"
#include "ecs/IEntity.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/UIImage.h"
#include "resource/Mesh2D.h"

namespace Varn::Graphics
{

AnimationSystem::AnimationSystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<ECS::Animator>();
}

void AnimationSystem::Advance(ECS::Animation& a)
{
    if (!a.reverse)
    {
        if (++a.currentFrame > a.endFrame)
        {
            a.currentFrame = a.looping ? a.startFrame : a.endFrame;
        }
    }
    else if (--a.currentFrame < a.startFrame)
    {
        a.currentFrame = a.looping ? a.endFrame : a.startFrame;
    }
}

std::array<float, 2> AnimationSystem::CellOffset(uint64_t frame, uint32_t columns, uint32_t rows)
{
    if (columns == 0 || rows == 0)
    {
        return {0.0f, 0.0f};
    }
    // Frame numbers past the sheet wrap round to its first cells. Textures clamp at their
    // edges, so an offset of a whole sheet or more would smear the border texels instead; the
    // melee enemy strikes on frame 15 whatever size its attack sheet has.
    const uint64_t cell = frame % (static_cast<uint64_t>(columns) * rows);
    return {static_cast<float>(cell % columns) / static_cast<float>(columns),
            static_cast<float>(cell / columns) / static_cast<float>(rows)};
}

namespace
{
template <typename Renderer> void Show(Renderer& renderer, int32_t currentFrame)
{
    renderer.frame = static_cast<uint64_t>(currentFrame < 0 ? 0 : currentFrame);
    if (renderer.mesh != nullptr)
    {
        renderer.texOffset =
            AnimationSystem::CellOffset(renderer.frame, renderer.mesh->columns, renderer.mesh->rows);
    }
}
} // namespace

void AnimationSystem::Update(const float& dt)
{
    for (ECS::IEntity* entity : entities)
    {
        auto* animator = entity->GetComponent<ECS::Animator>();
        if (animator == nullptr || !animator->IsActive() || animator->currentAnimation == nullptr)
        {
            continue;
        }
        auto* sprite = entity->GetComponent<ECS::SpriteRenderer>();
        auto* image = entity->GetComponent<ECS::UIImage>();
        if (!(sprite != nullptr && sprite->IsActive()) && !(image != nullptr && image->IsActive()))
        {
            continue;
        }

        animator->frameTimer -= dt;
        if (animator->frameTimer > 0.0f)
        {
            continue;
        }
        animator->frameTimer = animator->secondsPerFrame; // overshoot is dropped: one frame per step
        Advance(*animator->currentAnimation);

        // The sprite shows the frame even when it is the image that kept the entity animating.
        if (sprite != nullptr)
        {
            Show(*sprite, animator->currentAnimation->currentFrame);
        }
        else
        {
            Show(*image, animator->currentAnimation->currentFrame);
        }
    }
}

} // namespace Varn::Graphics
