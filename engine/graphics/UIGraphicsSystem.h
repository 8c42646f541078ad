#pragma once
// Draws UI images and buttons over the world, once per displayed frame. (Not built yet: Update does nothing.)
#include "core/ISystem.h"

namespace Varn::UISystem
{

class UIGraphicsSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::UISystem
