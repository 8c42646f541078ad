#pragma once
// Small helpers the action families share: entity look-up by ID, the Transform an action
// needs, world positions and the "%f" text of a float. Main thread only.
#include "core/Vector4.h"
#include "ecs/IEntity.h"
#include "ecs/Transform.h"
#include "script/References.h"
#include "script/ScriptProgram.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace Varn::System
{

// The code of a statement an action itself refuses (unknown entity, operator or component).
constexpr int FAILED_STATEMENT = 4;

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

// The entity's Transform; null (reported as a missing component) when it has none.
inline Component::Transform* TransformFor(ECS::IEntity* entity)
{
    auto* transform = entity->GetComponent<Component::Transform>();
    if (transform == nullptr)
    {
        References::MissingComponent("Transform", entity);
    }
    return transform;
}

inline Math::Vector4 WorldPosition(const Component::Transform& transform)
{
    const Math::Matrix4& m = transform.worldMatrix;
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

} // namespace Varn::System
