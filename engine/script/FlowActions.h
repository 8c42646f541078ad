#pragma once
// ORIN control flow: "Call" runs an action group of the target's program, "For" repeats one
// with an optional counter variable the group may read and change.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class FlowActions
{
public:
    static void Register(ActionTable& table);
};

} // namespace Varn::Script
