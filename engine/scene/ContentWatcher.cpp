#include "scene/ContentWatcher.h"

#include "core/FilePath.h"
#include "core/Logger.h"
#include "core/Window.h"
#include "ecs/IEntity.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/ScriptComponent.h"
#include "resource/ResourceManager.h"
#include "scene/Engine.h"
#include "scene/JSONManager.h"
#include "script/ScriptSystem.h"

#include <algorithm>
#include <map>

namespace Varn::Scene
{

bool ContentWatcher::Changed(const std::string& path)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(NativePath(path), error);
    if (error)
    {
        return false; // gone or unreadable for now: an editor may be halfway through saving
    }
    const auto [entry, fresh] = seen.try_emplace(path, time);
    if (fresh || entry->second == time)
    {
        return false;
    }
    entry->second = time;
    return true;
}

int ContentWatcher::Check()
{
    requested = false;
    sinceCheck = 0.0;
    int reloaded = 0;
    Resource::ResourceManager& resources = *engine.resources;

    // Reloading a script or a texture replaces what its registry entry holds, never the entry.
    for (const auto& [path, script] : resources.scripts)
    {
        if (Changed(path))
        {
            ReloadScript(path);
            ++reloaded;
        }
    }
    for (const auto& [path, texture] : resources.textures)
    {
        if (Changed(path))
        {
            engine.logger.Log("Reloading " + path);
            resources.ReloadDroppedFile(DROPPED_FILE::TEXTURE, path);
            ++reloaded;
        }
    }
    std::map<std::string, std::string>& prefabs = engine.jsonManager->prefabs.fileCache;
    for (auto it = prefabs.begin(); it != prefabs.end();)
    {
        if (Changed(it->first))
        {
            engine.logger.Log("Reloading " + it->first + " at its next instantiation");
            it = prefabs.erase(it);
            ++reloaded;
        }
        else
        {
            ++it;
        }
    }
    const std::string scene = engine.jsonManager->scenes.Path();
    if (!scene.empty() && Changed(scene) && !engine.jsonManager->scenes.Busy())
    {
        engine.logger.Log("Reloading " + scene);
        engine.jsonManager->LoadScene(scene, false);
        ++reloaded;
    }
    return reloaded;
}

void ContentWatcher::ReloadScript(const std::string& path)
{
    engine.logger.Log("Reloading " + path);
    Resource::ResourceManager& resources = *engine.resources;
    resources.ReloadDroppedFile(DROPPED_FILE::SCRIPT, path);
    const Resource::Script* script = resources.scripts.at(path).get();
    ECS::Scene* scene = engine.scenes->current;
    if (scene == nullptr)
    {
        return;
    }
    for (ECS::IEntity* entity : scene->entities)
    {
        const auto* component = entity->GetComponent<ECS::ScriptComponent>();
        if (component != nullptr && std::find(component->filePath.begin(), component->filePath.end(),
                                              script) != component->filePath.end())
        {
            scene->scriptSystem->CompileEntity(entity);
        }
    }
}

void ContentWatcher::Tick(double seconds)
{
    sinceCheck += seconds;
    if (requested || (watching && sinceCheck >= INTERVAL))
    {
        Check();
    }
}

} // namespace Varn::Scene
