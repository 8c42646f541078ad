#include "script/ScriptSystem.h"

namespace Varn::System
{

void ScriptSystem::Update(const float& /*dt*/)
{
}

} // namespace Varn::System
