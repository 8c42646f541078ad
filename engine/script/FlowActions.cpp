#include "script/FlowActions.h"

#include "ecs/IEntity.h"
#include "ecs/ScriptComponent.h"
#include "script/ORINCompiler.h"

#include <memory>

namespace Varn::Script
{

namespace
{

using ECS::IEntity;

// Runs the target's action group `name`; an unknown name runs nothing.
void RunGroup(IEntity* entity, const std::string& name, ORINCompiler& compiler, std::size_t hit)
{
    auto* script = entity->GetComponent<ECS::ScriptComponent>();
    if (script == nullptr)
    {
        return;
    }
    // Held for the call: the group may recompile the entity and replace its program.
    const std::shared_ptr<const ScriptProgram> program = script->program;
    if (program == nullptr)
    {
        return;
    }
    auto group = program->actionGroups.find(name);
    if (group != program->actionGroups.end())
    {
        compiler.RunBlocks(group->second.blocks, entity, hit);
    }
}

void Call(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    RunGroup(entity, compiler.references.String(entity, params[0], 0, false, hit), compiler, hit);
}

void For(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    const std::string group = r.String(entity, params[1], 1, false, hit);
    float privateCounter = 0.0f;
    // Each round reads the count and the counter afresh: the group may change either.
    auto counter = [&]() -> float&
    { return params.size() == 3 ? r.Float(entity, params[2], 2, false, hit) : privateCounter; };
    while (r.Float(entity, params[0], 0, false, hit) > counter())
    {
        RunGroup(entity, group, compiler, hit);
        float& c = counter();
        const float next = c + 1.0f;
        if (next == c)
        {
            break; // past 2^24 a float no longer counts up by one: the loop would never end
        }
        c = next;
        if (counter() != next)
        {
            // A number, a count or a read-only field: the increment cannot be kept, and the
            // loop would never end.
            compiler.references.InvalidParameters("For", entity);
            return;
        }
    }
}

} // namespace

void FlowActions::Register(ActionTable& table)
{
    table["Call"] = {&Call, Takes({1})};
    table["For"] = {&For, Takes({2, 3})};
}

} // namespace Varn::Script
