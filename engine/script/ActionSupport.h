#pragma once
// Small helpers the action families share: entity look-up by ID, the Transform an action
// needs, world positions and the "%f" text of a float. Main thread only.
#include "core/Vector4.h"
#include "ecs/IEntity.h"
#include "ecs/Transform.h"
#include "script/ORINCompiler.h"
#include "script/References.h"
#include "script/ScriptProgram.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace Varn::Script
{

[[noreturn]] inline void FailStatement()
{
    throw ScriptFailure{FAILED_STATEMENT};
}

// The entity whose ID is `id` truncated, or null; a value that is not finite names nobody.
inline ECS::IEntity* EntityWithId(const std::vector<ECS::IEntity*>& entities, float id)
{
    if (!std::isfinite(id))
    {
        return nullptr;
    }
    const double wanted = std::trunc(static_cast<double>(id));
    for (ECS::IEntity* candidate : entities)
    {
        if (static_cast<double>(candidate->id) == wanted)
        {
            return candidate;
        }
    }
    return nullptr;
}

// The entity's component of type T; null, reported as missing under `name`, when it has none.
template <typename T> T* NeededComponent(const ORINCompiler& compiler, ECS::IEntity* entity, const char* name)
{
    T* component = entity->GetComponent<T>();
    if (component == nullptr)
    {
        compiler.references.MissingComponent(name, entity);
    }
    return component;
}

inline ECS::Transform* TransformFor(const ORINCompiler& compiler, ECS::IEntity* entity)
{
    return NeededComponent<ECS::Transform>(compiler, entity, "Transform");
}

inline Vector4 WorldPosition(const ECS::Transform& transform)
{
    const Matrix4& m = transform.worldMatrix;
    return {m.m[0][3], m.m[1][3], m.m[2][3], 0.0f};
}

inline std::string FixedSix(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

// `value` truncated towards zero; 0 for values that are not finite, clamped to what fits.
inline int64_t Truncated(float value)
{
    if (!std::isfinite(value))
    {
        return 0;
    }
    const double t = std::trunc(static_cast<double>(value));
    return t >= 9.2e18 ? INT64_MAX : t <= -9.2e18 ? INT64_MIN : static_cast<int64_t>(t);
}

// The parameters as one line of words, each resolved as text, parameter i in slot i. A later
// word equal to the first is left out, so "SetText Go Go" gives "Go".
inline std::string JoinedWords(References& references, ECS::IEntity* entity, const Params& params,
                               std::size_t hit)
{
    std::string first;
    std::string line;
    for (std::size_t i = 0; i < params.size(); ++i)
    {
        const int slot = static_cast<int>(std::min<std::size_t>(i, References::SLOTS - 1));
        const std::string word = references.String(entity, params[i], slot, false, hit);
        if (i == 0)
        {
            first = line = word;
        }
        else if (word != first)
        {
            line += " " + word;
        }
    }
    return line;
}

// True when making `parent` the parent of `child` would close a loop in the hierarchy.
inline bool WouldCycle(const ECS::IEntity* child, const ECS::IEntity* parent)
{
    for (const ECS::IEntity* up = parent; up != nullptr; up = up->parent)
    {
        if (up == child)
        {
            return true;
        }
    }
    return false;
}

} // namespace Varn::Script
