#pragma once
// Ticks the behaviour tree of every entity with a behaviour component. (Not built yet: Update does nothing.)
#include "core/ISystem.h"

namespace Varn::System
{

class AISystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::System
