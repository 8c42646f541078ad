#pragma once
// Runs the ORIN scripts of its entities each step. (Not built yet: Update does nothing.)
#include "core/ISystem.h"

namespace Varn::System
{

class ScriptSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::System
