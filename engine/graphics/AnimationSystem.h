#pragma once
// Steps the sprite-sheet animation of every animator. (Not built yet: Update does nothing.)
#include "core/ISystem.h"

namespace Varn::System
{

class AnimationSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::System
