#include "scene/JSONManager.h"

#include "ecs/TagRegistry.h"

namespace Varn::Scene
{

uint64_t JSONManager::RegisterTag(const std::string& name)
{
    return scenes.RegisterTag(name);
}

uint64_t JSONManager::TagValue(const std::string& name) const
{
    return services.tags.Value(name);
}

std::vector<std::string> JSONManager::TagNames(uint64_t mask) const
{
    return services.tags.Names(mask);
}

} // namespace Varn::Scene
