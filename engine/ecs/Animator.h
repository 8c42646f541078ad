#pragma once
// Sprite-sheet animation state of an entity: the runs it can play and the one playing now.
// The AnimationSystem advances the current run and writes the cell into the entity's
// SpriteRenderer or UIImage; scripts and behaviours switch runs with SetAnimation.
// Invariant: currentAnimation points into this Animator's own animationList whenever the
// list is not empty, so anything that replaces the list must reselect.
#include "ecs/Animation.h"
#include "ecs/IComponent.h"

#include <string>
#include <vector>

namespace Varn::ECS
{

class Animator final : public IComponent
{
public:
    Animator();
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    // Selects the first run named `name`; an unknown name changes nothing. Frame and timer
    // are left as they are. True when a run was found.
    bool SetAnimation(const std::string& name);

    std::vector<Animation> animationList;  // "Animation List"
    float secondsPerFrame = 0.1f;          // "Seconds Per Frame"
    Animation* currentAnimation = nullptr; // "Current Animation" (by name); into animationList
    float frameTimer = 0.1f;               // seconds left before the next frame
};

} // namespace Varn::ECS
