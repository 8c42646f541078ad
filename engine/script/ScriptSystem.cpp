#include "script/ScriptSystem.h"

namespace Varn::System
{

void ScriptSystem::Update(const float& /*dt*/)
{
}

void ScriptSystem::CompileEntity(ECS::IEntity* /*entity*/)
{
}

void ScriptSystem::CompileScene()
{
}

} // namespace Varn::System
