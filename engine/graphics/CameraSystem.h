#pragma once
// Computes each camera's view and projection matrices and visible rectangle. (Not built yet: Update does
// nothing.)
#include "core/ISystem.h"

namespace Varn::System
{

class CameraSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;
};

} // namespace Varn::System
