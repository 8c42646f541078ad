#include "ai/PrefabSpawner.h"

#include "core/Engine.h"
#include "scene/JSONManager.h"

#include <utility>

namespace Varn::Behaviours
{

namespace
{
PrefabLoader& Loader()
{
    // The game instantiates through the scene loader; tests swap in a loader of their own.
    static PrefabLoader loader = [](const std::string& path, const Math::Vector4& position)
    { return Engine::Instance().jsonManager->LoadPrefab(path, position); };
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
