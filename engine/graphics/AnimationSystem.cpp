#include "graphics/AnimationSystem.h"

namespace Varn::System
{

void AnimationSystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::System
