#pragma once
// Spawns and simulates the particles of every emitter. (Not built yet: Update does nothing.)
#include "core/ISystem.h"

namespace Varn::System
{

class ParticleSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::System
