#pragma once
// The one door through which behaviour leaves create prefab instances: through the scene
// loader, unless a test has plugged in a loader of its own to count and fake instancing
// without prefab files.
#include "core/Services.h"
#include "core/Vector4.h"

#include <functional>
#include <string>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::AI
{

// Instantiates the prefab at `path` into the current scene at `position`; null on failure.
using PrefabLoader = std::function<ECS::IEntity*(const std::string& path, const Vector4& position)>;

// Null when the loader fails, so leaves report the failure.
ECS::IEntity* InstantiatePrefab(const Services& services, const std::string& path, const Vector4& position);
// Plugs in a loader in place of the scene loader; an empty one unplugs it. Returns the
// previous one.
PrefabLoader SetPrefabLoader(PrefabLoader loader);

} // namespace Varn::AI
