#include "scene/PrefabCache.h"

#include "core/FilePath.h"
#include "core/Logger.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "scene/EntityReader.h"

#include <vector>

namespace Varn::Scene
{

ECS::IEntity* PrefabCache::Instantiate(const std::string& path, const Vector4& position)
{
    const Services& engine = services;

    // 1. The first line of the file, read once per path; a missing file caches nothing useful
    // and is tried again next time.
    std::string& text = fileCache[path];
    const bool firstRead = text.empty(); // keys nobody reads are told of once, then
    if (firstRead)
    {
        ReadTextFile(path, text);
        if (const std::size_t end = text.find('\n'); end != std::string::npos)
        {
            text.erase(end);
            text.shrink_to_fit(); // the cache keeps the line, not the rest of the file
        }
    }

    // 2. A prefab is one JSON array of entities.
    rapidjson::Document document;
    EntityReader::ParseError error;
    if (!EntityReader::Parse(text, document, &error) || !document.IsArray())
    {
        engine.logger.Log("Error: Load Failed. Prefab is Invalid");
        engine.logger.Log(text.empty() ? path + ": the file is missing or empty"
                          : error.what.empty()
                              ? path + ":1: the prefab line is not a JSON array of entities"
                              : path + ":1:" + std::to_string(error.column) + ": " + error.what,
                          Logger::ERROR);
        return nullptr;
    }

    // 3. Entities; a broken one is dropped, the rest still come.
    std::vector<EntityReader::PendingLink> links;
    std::vector<ECS::PendingEntityReference> references;
    std::vector<ECS::IEntity*> instanced;
    ECS::IEntity* result = nullptr;
    EntityReader::UnknownKeyReport unknown{path, {}};
    for (rapidjson::SizeType i = 0; i < document.Size(); ++i)
    {
        ECS::IEntity* entity =
            reader.ReadEntity(document, i, links, references, firstRead ? &unknown : nullptr);
        if (i == 0)
        {
            result = entity;
        }
        if (entity != nullptr)
        {
            instanced.push_back(entity);
        }
    }

    // 4. Textures inline: no workers and no loading frames for a prefab. Those a scene load
    // has claimed are being decoded on its workers, and it uploads them itself.
    for (const auto& [name, texture] : engine.resources.textures)
    {
        if (texture->pixels == nullptr && !texture->claimed)
        {
            texture->Load();
        }
    }
    for (const auto& [name, texture] : engine.resources.textures)
    {
        if (!texture->claimed)
        {
            texture->Upload();
        }
    }

    // 5. Into the running scene; its main camera stays.
    ECS::Scene& scene = *engine.scenes.current;
    for (ECS::IEntity* entity : instanced)
    {
        scene.AddEntity(entity);
    }

    // 6. Parents among the prefab's own entities; roots go where they were asked for. A root
    // without a Transform has nothing to place.
    reader.LinkParents(links);
    for (const EntityReader::PendingLink& link : links)
    {
        auto* transform = link.entity->GetComponent<ECS::Transform>();
        if (link.parentKey == EntityReader::NO_PARENT && transform != nullptr)
        {
            transform->position = position;
        }
    }
    // Collisions later in this step read world matrices, which the transforms only refresh at
    // the end of the step: without this a new instance would touch whatever lies at the origin.
    for (ECS::IEntity* entity : instanced)
    {
        if (entity->GetComponent<ECS::Transform>() != nullptr)
        {
            ECS::TransformSystem::UpdateEntity(entity);
        }
    }

    // 7. Script references among the prefab's entities.
    EntityReader::ResolveReferences(links, references);
    return result;
}

} // namespace Varn::Scene
