#pragma once
// Runs the ORIN scripts of its entities each step. (Not built yet: Update and the compile
// points do nothing.)
#include "core/ISystem.h"

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::System
{

class ScriptSystem : public System::ISystem
{
public:
    using ISystem::ISystem;
    void Update(const float& dt) override;

    // Compile points for the scene loader: one entity as it is read, then the whole scene once
    // its entities are in place. (The ORIN compiler is not built yet; both do nothing.)
    void CompileEntity(ECS::IEntity* entity);
    void CompileScene();
};

} // namespace Varn::System
