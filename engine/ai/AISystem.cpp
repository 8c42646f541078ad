#include "ai/AISystem.h"

namespace Varn::System
{

void AISystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::System
