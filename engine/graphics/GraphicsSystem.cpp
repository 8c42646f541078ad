#include "graphics/GraphicsSystem.h"

namespace Varn::System
{

void GraphicsSystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::System
