#pragma once
// The one door through which behaviour leaves create prefab instances. The engine's prefab
// loader is plugged in here, so tests can count and fake instancing without prefab files.
#include "core/Vector4.h"

#include <functional>
#include <string>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::Behaviours
{

// Instantiates the prefab at `path` into the current scene at `position`; null on failure.
using PrefabLoader = std::function<ECS::IEntity*(const std::string& path, const Math::Vector4& position)>;

// Null when the loader fails (or has been removed), so leaves report the failure.
ECS::IEntity* InstantiatePrefab(const std::string& path, const Math::Vector4& position);
// Replaces the loader; an empty one removes it. Returns the previous loader.
PrefabLoader SetPrefabLoader(PrefabLoader loader);

} // namespace Varn::Behaviours
