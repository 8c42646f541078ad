#pragma once
// ORIN actions on how things look: the Animator, the SpriteRenderer and the Transform's flips,
// layer effects, lighting and particle prefabs.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class LookActions
{
public:
    static void Register(ActionTable& table);
};

} // namespace Varn::Script
