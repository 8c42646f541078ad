#pragma once
// The four resolvers of statement parameters (bool, float, string, entity) and the scratch
// slots they fill. A parameter is classified once by the ReferenceParser when its statement
// is compiled; resolving follows that classification, so the result is what reading the text afresh
// would give, without the parsing. Owned by the ORINCompiler; main thread only.
//
// A resolver returns a reference: to the variable or array element the parameter names, so
// an action can write through it, or to the scratch slot of its type and number holding a
// computed value. A reference that cannot be served raises ScriptFailure.
#include "core/Services.h"
#include "ecs/EntityHandle.h"
#include "script/ScriptProgram.h"

#include <array>
#include <cstddef>
#include <string>

namespace Varn::ECS
{
class IEntity;
class ScriptComponent;
} // namespace Varn::ECS

namespace Varn::Script
{

class GlobalVariables;

class References
{
public:
    static constexpr int SLOTS = 7;
    static constexpr float FIXED_DELTA = 0.016666668f;

    // `globals` and `timeStep` (the script system's step, seconds) must outlive the resolvers.
    References(GlobalVariables& globals, const float& timeStep, const Services& services);

    // `create` lets a local variable named by "#l_" or "var_" be created when missing.
    bool& Bool(ECS::IEntity* context, const ScriptParam& param, int slot, bool create, std::size_t hit)
    {
        return BoolOf(context, param.asBool, slot, create, hit);
    }
    float& Float(ECS::IEntity* context, const ScriptParam& param, int slot, bool create, std::size_t hit)
    {
        return FloatOf(context, param.asFloat, slot, create, hit);
    }
    std::string& String(ECS::IEntity* context, const ScriptParam& param, int slot, bool create,
                        std::size_t hit)
    {
        return StringOf(context, param.asString, slot, create, hit);
    }
    // Never null on success. With `create`, an ent variable or ent[] element that holds no
    // entity is returned as it is, so an action can assign to it.
    ECS::EntityHandle& Entity(ECS::IEntity* context, const EntityReference& reference, int slot, bool create,
                              std::size_t hit);
    ECS::EntityHandle& Entity(ECS::IEntity* context, const ScriptParam& param, int slot, bool create,
                              std::size_t hit)
    {
        return Entity(context, param.asEntity, slot, create, hit);
    }

    // "Invalid <name> parameters in <entity>." and "Missing <component> component in <entity>."
    void InvalidParameters(const std::string& name, const ECS::IEntity* entity) const;
    void MissingComponent(const std::string& component, const ECS::IEntity* entity) const;

    // The "Player" entity and the main camera of the current scene, looked up afresh.
    void RefreshCachedEntities();
    // The entity whose scripts run now and its ScriptComponent (null between entities); local
    // references of that entity skip the component search.
    void SetRunning(ECS::IEntity* entity, ECS::ScriptComponent* script)
    {
        running = entity;
        runningScript = script;
    }
    // The script component local references of `entity` look in; fails when it has none.
    ECS::ScriptComponent& ScriptOf(ECS::IEntity* entity) const;

    // Looks the cached entities up again while no player is known.
    void EnsureCachedEntities();

    std::array<bool, SLOTS> boolSlots{};
    std::array<float, SLOTS> floatSlots{};
    std::array<std::string, SLOTS> stringSlots;
    std::array<ECS::EntityHandle, SLOTS> entitySlots{};
    // Handles, so that a player freed since the last look is looked up again, never followed
    // into whatever entity took its slot.
    ECS::EntityHandle player;     // may resolve to null
    ECS::EntityHandle mainCamera; // may resolve to null

private:
    // The variable `reference` names in `map` (a store of `owner`), by the address found last
    // time when `holder` still has it for this version of the store.
    template <typename Map, typename Value>
    typename Map::mapped_type& Cached(const ValueReference& reference, ECS::ScriptComponent* holder,
                                      const void* owner, uint64_t version, Map& map, bool create,
                                      const Value& initial);
    bool& BoolOf(ECS::IEntity* context, const ValueReference& reference, int slot, bool create,
                 std::size_t hit);
    float& FloatOf(ECS::IEntity* context, const ValueReference& reference, int slot, bool create,
                   std::size_t hit);
    std::string& StringOf(ECS::IEntity* context, const ValueReference& reference, int slot, bool create,
                          std::size_t hit);
    // The entity of a field prefix; null for a hit prefix whose hit does not exist.
    ECS::IEntity* FieldEntity(ECS::IEntity* context, const EntityReference& reference, int slot,
                              std::size_t hit);
    // The element index of "[index]": "last" or a float truncated; fails past the end.
    std::size_t Index(ECS::IEntity* context, bool lastIndex, const ValueReference* index, std::size_t size,
                      int slot, std::size_t hit);
    float ReadFloatField(ECS::IEntity* entity, FIELD field) const;
    float EngineFloat(ENGINE_VALUE value);

    GlobalVariables& globals;
    const float& timeStep;
    const Services& services;
    ECS::IEntity* running = nullptr;               // may be null
    ECS::ScriptComponent* runningScript = nullptr; // running's; null with it
};

// The script component a local reference looks in; fails when the entity has none.
ECS::ScriptComponent& LocalScript(ECS::IEntity* entity);

} // namespace Varn::Script
