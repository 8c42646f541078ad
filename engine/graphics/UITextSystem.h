#pragma once
// Draws UI text over the world, once per displayed frame. (Not built yet: Update does nothing.)
#include "core/ISystem.h"

namespace Varn::UISystem
{

class UITextSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::UISystem
