#include "physics/PhysicsSystem.h"

namespace Varn::System
{

void PhysicsSystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::System
