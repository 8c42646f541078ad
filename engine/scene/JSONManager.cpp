#include "scene/JSONManager.h"

#include "core/Engine.h"

namespace Varn::System
{

uint64_t JSONManager::RegisterTag(const std::string& name)
{
    return SceneLoader::RegisterTag(name);
}

uint64_t JSONManager::TagValue(const std::string& name) const
{
    return Engine::Instance().tags.Value(name);
}

std::vector<std::string> JSONManager::TagNames(uint64_t mask) const
{
    return Engine::Instance().tags.Names(mask);
}

} // namespace Varn::System
