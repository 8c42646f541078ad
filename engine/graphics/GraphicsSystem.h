#pragma once
// Draws the visible sprites layer by layer and composites the layers. Called once per displayed frame. (Not
// built yet: Update does nothing.)
#include "core/ISystem.h"

namespace Varn::System
{

class GraphicsSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::System
