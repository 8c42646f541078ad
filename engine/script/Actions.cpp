#include "script/Actions.h"

#include "core/Logger.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "script/ActionSupport.h"
#include "script/ArrayActions.h"
#include "script/BodyActions.h"
#include "script/EntityActions.h"
#include "script/FlowActions.h"
#include "script/LookActions.h"
#include "script/ORINCompiler.h"
#include "script/SceneActions.h"
#include "script/SoundActions.h"
#include "script/TransformActions.h"
#include "script/UIActions.h"

#include <cmath>
#include <cstdio>

namespace Varn::Script
{

void Actions::Register(ActionTable& table)
{
    table["Print"] = {&Print};
    table["SetBool"] = {&SetBool, Takes({2, 3})};
    table["SetFloat"] = {&SetFloat, Takes({2})};
    table["SetString"] = {&SetString, Takes({2})};
    table["SetEntity"] = {&SetEntity, Takes({2})};
    table["ToInt"] = {&ToInt, Takes({2})};
    table["ToString"] = {&ToString, Takes({2, 3})};
    table["FloatOp"] = {&FloatOp, Takes({4})};
    table["StringOp"] = {&StringOp, TakesAtLeast(2)};
    TransformActions::Register(table);
    EntityActions::Register(table);
    ArrayActions::Register(table);
    FlowActions::Register(table);
    SceneActions::Register(table);
    BodyActions::Register(table);
    LookActions::Register(table);
    SoundActions::Register(table);
    UIActions::Register(table);
}

void Actions::Print(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& references = compiler.references;
    std::string line;
    for (std::size_t i = 0; i < params.size(); ++i)
    {
        const int slot = static_cast<int>(std::min<std::size_t>(i, References::SLOTS - 1));
        const ScriptParam& param = params[i];
        // The first reading that works: float, bool, entity name, then text.
        try
        {
            line += FixedSix(references.Float(entity, param, slot, false, hit)) + " ";
            continue;
        }
        catch (const ScriptFailure&)
        {
        }
        try
        {
            line += std::string(references.Bool(entity, param, slot, false, hit) ? "true" : "false") + " ";
            continue;
        }
        catch (const ScriptFailure&)
        {
        }
        if (param.asEntity.source != ENTITY_SOURCE::NONE)
        {
            try
            {
                line += references.Entity(entity, param, slot, false, hit)->name + " ";
                continue;
            }
            catch (const ScriptFailure&)
            {
            }
        }
        line += references.String(entity, param, slot, false, hit) + " ";
    }
    compiler.services.logger.Log(line);
}

void Actions::SetBool(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    ECS::IEntity* destinationContext = entity;
    if (params.size() == 3)
    {
        // The destination belongs to the entity with that ID in the target's scene; an ID
        // that names no entity is a failed reference.
        const float id = compiler.references.Float(entity, params[2], 2, false, hit);
        const ECS::Scene* scene = entity->scene != nullptr ? entity->scene : compiler.services.scenes.current;
        destinationContext = EntityWithId(scene->entities, id);
        if (destinationContext == nullptr)
        {
            FailStatement();
        }
    }
    bool& destination = compiler.references.Bool(destinationContext, params[0], 0, true, hit);
    const bool& value = compiler.references.Bool(entity, params[1], 1, false, hit);
    destination = value;
}

void Actions::SetFloat(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    float& destination = compiler.references.Float(entity, params[0], 0, true, hit);
    const float& value = compiler.references.Float(entity, params[1], 1, false, hit);
    destination = value;
}

void Actions::SetString(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    std::string& destination = compiler.references.String(entity, params[0], 0, true, hit);
    const std::string& value = compiler.references.String(entity, params[1], 1, false, hit);
    destination = value;
}

void Actions::SetEntity(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    ECS::EntityHandle& destination = compiler.references.Entity(entity, params[0], 0, true, hit);
    ECS::IEntity* const value = compiler.references.Entity(entity, params[1], 1, false, hit);
    destination = value;
}

void Actions::ToInt(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    const float value = compiler.references.Float(entity, params[0], 0, false, hit);
    compiler.references.Float(entity, params[1], 1, false, hit) = std::trunc(value);
}

void Actions::ToString(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    std::string text;
    if (params.size() == 3)
    {
        if (r.String(entity, params[2], 2, false, hit) != "int")
        {
            return;
        }
        text = std::to_string(Truncated(r.Float(entity, params[0], 0, false, hit)));
    }
    else
    {
        try
        {
            text = FixedSix(r.Float(entity, params[0], 0, false, hit));
        }
        catch (const ScriptFailure&)
        {
            text.assign(1, r.Bool(entity, params[0], 0, false, hit) ? '1' : '0');
        }
    }
    r.String(entity, params[1], 1, false, hit) = text;
}

void Actions::FloatOp(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    // Copies: the destination may be one of the operands.
    const float a = r.Float(entity, params[0], 0, false, hit);
    const std::string op = r.String(entity, params[1], 1, false, hit);
    const float b = r.Float(entity, params[2], 2, false, hit);
    float result = 0.0f;
    if (op == "+")
    {
        result = a + b;
    }
    else if (op == "-")
    {
        result = a - b;
    }
    else if (op == "*")
    {
        result = a * b;
    }
    else if (op == "/")
    {
        result = a / b;
    }
    else if (op == "%")
    {
        // A remainder by zero has no value to give.
        const int64_t divisor = Truncated(b);
        if (divisor == 0)
        {
            FailStatement();
        }
        const int64_t dividend = Truncated(a);
        result = divisor == -1 ? 0.0f : static_cast<float>(dividend % divisor);
    }
    else
    {
        FailStatement();
    }
    r.Float(entity, params[3], 3, false, hit) = result;
}

void Actions::StringOp(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    std::string text;
    for (std::size_t i = 1; i < params.size(); ++i)
    {
        text += params[i].text == "~" ? std::string(" ") : r.String(entity, params[i], 0, false, hit);
    }
    r.String(entity, params[0], 0, false, hit) = text;
}

} // namespace Varn::Script
