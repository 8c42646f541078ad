#include "ecs/Animator.h"

namespace Varn::ECS
{

Animator::Animator() : IComponent("Animator Component")
{
    animationList.emplace_back(0, 0, "Default", true);
    SetAnimation("Default");
}

void Animator::BuildProperties()
{
    properties = {
        Property::Of("Animation List", &animationList),
        Property::Of("Seconds Per Frame", &secondsPerFrame),
        Property::Of("Current Animation", &currentAnimation),
    };
}

std::unique_ptr<IComponent> Animator::Clone() const
{
    auto copy = std::make_unique<Animator>();
    copy->animationList = animationList;
    copy->secondsPerFrame = secondsPerFrame;
    copy->frameTimer = frameTimer;
    // The selection is a position in the list, not an address: point at the copy's element.
    copy->currentAnimation = nullptr;
    if (currentAnimation != nullptr && !animationList.empty())
    {
        copy->currentAnimation = copy->animationList.data() + (currentAnimation - animationList.data());
    }
    return FinishClone(std::move(copy));
}

bool Animator::SetAnimation(const std::string& name)
{
    for (Animation& animation : animationList)
    {
        if (animation.name == name)
        {
            currentAnimation = &animation;
            return true;
        }
    }
    return false;
}

} // namespace Varn::ECS
