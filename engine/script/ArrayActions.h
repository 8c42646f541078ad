#pragma once
// ORIN actions on the target's script arrays: append, pop, clear and count. An array is found
// by name among the bool, float, string and entity arrays, in that order.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class ArrayActions
{
public:
    static void Register(ActionTable& table);
};

} // namespace Varn::Script
