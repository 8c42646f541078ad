#include "ai/PrefabSpawner.h"

#include "ecs/IPrefabSource.h"

#include <utility>

namespace Varn::AI
{

namespace
{
PrefabLoader& Plugged()
{
    static PrefabLoader loader; // empty: the scene loader instantiates
    return loader;
}
} // namespace

ECS::IEntity* InstantiatePrefab(const Services& services, const std::string& path, const Vector4& position)
{
    const PrefabLoader& plugged = Plugged();
    return plugged ? plugged(path, position) : services.prefabs.LoadPrefab(path, position);
}

PrefabLoader SetPrefabLoader(PrefabLoader loader)
{
    return std::exchange(Plugged(), std::move(loader));
}

} // namespace Varn::AI
