#include "graphics/ParticleSystem.h"

namespace Varn::System
{

void ParticleSystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::System
