#pragma once
// The action keywords of ORIN: the statements of "[Action]" blocks. Each gets its target
// entity and the current hit index; a wrong parameter count is logged and the action skipped,
// a failing reference abandons the entity's script for the step. The table grows by family
// (variables here; the transform, entity, array, flow and scene families register from
// Register, each from its own file).
#include "script/ScriptProgram.h"

namespace Varn::Script
{

class Actions
{
public:
    static void Register(ActionTable& table);

    static void Print(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
    static void SetBool(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
    static void SetFloat(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
    static void SetString(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                          std::size_t hit);
    static void SetEntity(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler,
                          std::size_t hit);
    static void ToInt(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
    static void ToString(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
    static void FloatOp(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
    static void StringOp(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit);
};

} // namespace Varn::Script
