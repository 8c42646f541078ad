#pragma once
// ORIN actions on entities: layers, rooms, activity, component switches, parent links,
// prefab instances and kills (deferred to the end of the script step).
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class EntityActions
{
public:
    static void Register(ActionTable& table);
};

} // namespace Varn::Script
