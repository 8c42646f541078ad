#pragma once
// ORIN actions on the target's RigidBody: velocities, forces, mode, material and ignored tags.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class BodyActions
{
public:
    static void Register(ActionTable& table);
};

} // namespace Varn::Script
