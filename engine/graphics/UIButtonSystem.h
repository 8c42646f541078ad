#pragma once
// Hit-tests UI buttons against the cursor each step. (Not built yet: Update does nothing.)
#include "core/ISystem.h"

namespace Varn::UISystem
{

class UIButtonSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::UISystem
