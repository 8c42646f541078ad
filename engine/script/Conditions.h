#pragma once
// The condition keywords of ORIN: the handlers of "[Condition]" and "[Else]" blocks and of
// condition groups. Each gets its target entity and the current hit index and answers true
// or false; an operator it does not accept abandons the entity's script for the step.
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class Conditions
{
public:
    static void Register(ConditionTable& table);

    static bool CheckBool(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                          std::size_t hit);
    static bool CheckFloat(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                           std::size_t hit);
    static bool CheckString(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                            std::size_t hit);
    static bool EnterArea(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                          std::size_t hit);
    static bool MouseOver(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                          std::size_t hit);
    static bool CheckTag(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
    static bool CheckName(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                          std::size_t hit);
    static bool CheckID(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
    static bool Check(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
};

} // namespace Varn::Script
