#include "script/Actions.h"

#include "core/Engine.h"
#include "core/Scene.h"
#include "core/SceneStack.h"
#include "ecs/IEntity.h"
#include "script/ORINCompiler.h"

#include <cmath>
#include <cstdio>

namespace Varn::System
{

namespace
{

constexpr int NO_SUCH_ENTITY = 4;

std::string FixedSix(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

} // namespace

void Actions::Register(ActionTable& table)
{
    table["Print"] = &Print;
    table["SetBool"] = &SetBool;
    table["SetFloat"] = &SetFloat;
    table["SetString"] = &SetString;
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
    Engine::Instance().logger.Log(line);
}

void Actions::SetBool(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (params.size() != 2 && params.size() != 3)
    {
        References::InvalidParameters("SetBool", entity);
        return;
    }
    ECS::IEntity* destinationContext = entity;
    if (params.size() == 3)
    {
        // The destination belongs to the entity with that ID in the target's scene; an ID
        // that names no entity is a failed reference.
        const float id = compiler.references.Float(entity, params[2], 2, false, hit);
        destinationContext = nullptr;
        const Scene* scene = entity->scene != nullptr ? entity->scene : Engine::Instance().scenes->current;
        for (ECS::IEntity* candidate : scene->entities)
        {
            if (std::isfinite(id) &&
                static_cast<double>(candidate->id) == std::trunc(static_cast<double>(id)))
            {
                destinationContext = candidate;
                break;
            }
        }
        if (destinationContext == nullptr)
        {
            throw ScriptFailure{NO_SUCH_ENTITY};
        }
    }
    bool& destination = compiler.references.Bool(destinationContext, params[0], 0, true, hit);
    const bool& value = compiler.references.Bool(entity, params[1], 1, false, hit);
    destination = value;
}

void Actions::SetFloat(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (params.size() != 2)
    {
        References::InvalidParameters("SetFloat", entity);
        return;
    }
    float& destination = compiler.references.Float(entity, params[0], 0, true, hit);
    const float& value = compiler.references.Float(entity, params[1], 1, false, hit);
    destination = value;
}

void Actions::SetString(ECS::IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    if (params.size() != 2)
    {
        References::InvalidParameters("SetString", entity);
        return;
    }
    std::string& destination = compiler.references.String(entity, params[0], 0, true, hit);
    const std::string& value = compiler.references.String(entity, params[1], 1, false, hit);
    destination = value;
}

} // namespace Varn::System
