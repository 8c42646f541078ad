#pragma once
// ORIN actions on sound: playing a sound resource in one of the two channel groups, and
// stopping everything.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class SoundActions
{
public:
    static void Register(ActionTable& table);
};

} // namespace Varn::Script
