#pragma once
// Moves rigid bodies and resolves their contacts each step. Its working set is the entities with a rigid body
// or collider. (The step itself is not built yet: Update does nothing.)
#include "core/ISystem.h"

namespace Varn::System
{

class PhysicsSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::System
