#pragma once
// The entry to scene and prefab files, owned by the Engine: it holds the load's progress, the
// entity reader both kinds of file share, the scene loader and the prefab cache, and hands
// each call to the one that does the work. Main thread only.
#include "core/Services.h"
#include "core/Vector4.h"
#include "ecs/IPrefabSource.h"
#include "ecs/LoadProgress.h"
#include "scene/EntityReader.h"
#include "scene/PrefabCache.h"
#include "scene/SceneLoader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Varn::Scene
{

class JSONManager final : public ECS::IPrefabSource
{
public:
    explicit JSONManager(const Services& services) : services(services) {}
    JSONManager(const JSONManager&) = delete;
    JSONManager& operator=(const JSONManager&) = delete;

    // Replaces the current scene's entities with the file's. With `showLoadingFrames` the load
    // only starts here: the frame loop carries it on between loading frames (SceneLoader).
    void LoadScene(const std::string& path, bool showLoadingFrames) { scenes.Begin(path, showLoadingFrames); }
    // Instantiates the prefab file into the current scene, its roots at `position`. Returns
    // the entity of array index 0; null when the file is not a prefab or that entity is broken.
    ECS::IEntity* LoadPrefab(const std::string& path, const Vector4& position) override
    {
        return prefabs.Instantiate(path, position);
    }

    // The scene's tags live in the engine's ECS::TagRegistry; these are the loader's entries to
    // it. The bit of `name`, registering it when new; 0 (with a log line) past the usable bits.
    uint64_t RegisterTag(const std::string& name);
    // The bit of a registered name; 0 for a name the registry does not hold (nothing is added).
    uint64_t TagValue(const std::string& name) const;
    // The registered names whose bits are set in `mask`, in registry order.
    std::vector<std::string> TagNames(uint64_t mask) const;

    const Services& services;
    ECS::LoadProgress loading;
    EntityReader reader{loading, services};
    SceneLoader scenes{reader, loading, services};
    PrefabCache prefabs{reader, services};
};

} // namespace Varn::Scene
