#include "graphics/CameraSystem.h"

namespace Varn::System
{

void CameraSystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::System
