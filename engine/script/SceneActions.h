#pragma once
// ORIN actions on the scene, time and window: scene requests (carried out at the end of the
// script step), the time scale, quitting, the cursor and the display mode.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class SceneActions
{
public:
    static void Register(ActionTable& table);
};

} // namespace Varn::Script
