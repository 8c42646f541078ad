#include "ai/PrefabSpawner.h"

#include <utility>

namespace Varn::Behaviours
{

namespace
{
PrefabLoader& Loader()
{
    static PrefabLoader loader;
    return loader;
}
} // namespace

ECS::IEntity* InstantiatePrefab(const std::string& path, const Math::Vector4& position)
{
    const PrefabLoader& loader = Loader();
    return loader ? loader(path, position) : nullptr;
}

PrefabLoader SetPrefabLoader(PrefabLoader loader)
{
    return std::exchange(Loader(), std::move(loader));
}

} // namespace Varn::Behaviours
