#include "script/ArrayActions.h"

#include "core/Logger.h"
#include "ecs/ScriptComponent.h"
#include "script/ActionSupport.h"
#include "script/ORINCompiler.h"
#include "script/ScriptSystem.h"

namespace Varn::Script
{

namespace
{

using ECS::IEntity;

// The target's arrays of each type under one name; at most the first found is used.
struct Found
{
    std::deque<bool>* bools = nullptr;
    std::vector<float>* floats = nullptr;
    std::vector<std::string>* strings = nullptr;
    std::vector<ECS::EntityHandle>* entities = nullptr;
    bool Any() const
    {
        return bools != nullptr || floats != nullptr || strings != nullptr || entities != nullptr;
    }
};

template <typename Map> typename Map::mapped_type* Lookup(Map& map, const std::string& name)
{
    auto found = map.find(name);
    return found != map.end() ? &found->second : nullptr;
}

// The array `name` of the target, or nothing (reported) when it has none of that name.
Found FindArray(IEntity* entity, const std::string& name, ORINCompiler& compiler)
{
    Found found;
    auto* script = entity->GetComponent<ECS::ScriptComponent>();
    if (script != nullptr)
    {
        ECS::ScriptComponent& s = compiler.references.ScriptOf(entity);
        if ((found.bools = Lookup(s.boolArrays, name)) == nullptr &&
            (found.floats = Lookup(s.floatArrays, name)) == nullptr &&
            (found.strings = Lookup(s.stringArrays, name)) == nullptr)
        {
            found.entities = Lookup(s.entityArrays, name);
        }
    }
    if (!found.Any())
    {
        compiler.services.logger.Log("Missing array " + name + " in " + entity->name + ".", Logger::ERROR);
    }
    return found;
}

void AddToArray(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    const Found found = FindArray(entity, r.String(entity, params[0], 0, false, hit), compiler);
    if (found.bools != nullptr)
    {
        found.bools->push_back(r.Bool(entity, params[1], 1, false, hit));
    }
    else if (found.floats != nullptr)
    {
        found.floats->push_back(r.Float(entity, params[1], 1, false, hit));
    }
    else if (found.strings != nullptr)
    {
        // A copy first: the value may be an element of the vector that is about to grow.
        const std::string value = r.String(entity, params[1], 1, false, hit);
        found.strings->push_back(value);
    }
    else if (found.entities != nullptr)
    {
        found.entities->push_back(r.Entity(entity, params[1], 1, false, hit));
    }
}

// With `kill`, the removed entities of an entity array go on the kill list.
void RemoveElements(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit, bool all)
{
    References& r = compiler.references;
    const Found found = FindArray(entity, r.String(entity, params[0], 0, false, hit), compiler);
    if (!found.Any())
    {
        return;
    }
    const bool kill =
        params.size() == 2 && found.entities != nullptr && r.Bool(entity, params[1], 1, false, hit);
    auto trim = [all](auto& array)
    {
        if (all)
        {
            array.clear();
        }
        else if (!array.empty())
        {
            array.pop_back();
        }
    };
    if (found.entities != nullptr)
    {
        std::vector<ECS::EntityHandle>& array = *found.entities;
        const std::size_t keep = all || array.empty() ? 0 : array.size() - 1;
        for (std::size_t i = keep; kill && i < array.size(); ++i)
        {
            if (array[i] != nullptr)
            {
                compiler.system.killList.push_back(array[i]);
            }
        }
        trim(array);
    }
    else if (found.bools != nullptr)
    {
        trim(*found.bools);
    }
    else if (found.floats != nullptr)
    {
        trim(*found.floats);
    }
    else
    {
        trim(*found.strings);
    }
}

void PopBackArray(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    RemoveElements(entity, params, compiler, hit, false);
}

void ClearArray(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    RemoveElements(entity, params, compiler, hit, true);
}

void ArraySize(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    const Found found = FindArray(entity, r.String(entity, params[0], 0, false, hit), compiler);
    std::size_t size = 0;
    if (found.bools != nullptr)
    {
        size = found.bools->size();
    }
    else if (found.floats != nullptr)
    {
        size = found.floats->size();
    }
    else if (found.strings != nullptr)
    {
        size = found.strings->size();
    }
    else if (found.entities != nullptr)
    {
        size = found.entities->size();
    }
    else
    {
        return;
    }
    r.Float(entity, params[1], 1, false, hit) = static_cast<float>(size);
}

} // namespace

void ArrayActions::Register(ActionTable& table)
{
    table["AddToArray"] = {&AddToArray, Takes({2})};
    table["PopBackArray"] = {&PopBackArray, Takes({1, 2})};
    table["ClearArray"] = {&ClearArray, Takes({1, 2})};
    table["ArraySize"] = {&ArraySize, Takes({2})};
}

} // namespace Varn::Script
