#pragma once
// ORIN actions on transforms: moving, turning and scaling the target, looking at points,
// steering rigid bodies, following with a camera and parallax layers.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class TransformActions
{
public:
    static void Register(ActionTable& table);
};

} // namespace Varn::Script
