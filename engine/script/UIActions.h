#pragma once
// ORIN actions on the user interface: UIImage and UIButton textures, UIText lines and the
// button's held state.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class UIActions
{
public:
    static void Register(ActionTable& table);
};

} // namespace Varn::Script
