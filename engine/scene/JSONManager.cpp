#include "scene/JSONManager.h"

#include "core/Engine.h"
#include "core/FilePath.h"
#include "core/InputManager.h"
#include "core/Scene.h"
#include "core/SceneStack.h"
#include "core/Timer.h"
#include "ecs/Animator.h"
#include "ecs/BehaviourComponent.h"
#include "ecs/BoxCollider2D.h"
#include "ecs/Camera.h"
#include "ecs/CircleCollider2D.h"
#include "ecs/EntityManager.h"
#include "ecs/Light.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/RaycastComponent.h"
#include "ecs/RigidBody.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "ecs/UIText.h"
#include "graphics/CameraSystem.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "script/ScriptSystem.h"

#include <algorithm>
#include <string_view>

namespace Varn::System
{

namespace
{

// Component blocks in the order they are read, with the label of their failure message.
struct BlockKind
{
    const char* member;
    const char* label;
    ECS::IComponent* (*add)(ECS::IEntity&);
};

template <typename T> ECS::IComponent* Add(ECS::IEntity& entity)
{
    return entity.AddComponent<T>();
}

const BlockKind BLOCKS[] = {
    {"Camera", "Camera", Add<Component::Camera>},
    {"Transform", "Transform", Add<Component::Transform>},
    {"Sprite Renderer", "Sprite Renderer", Add<Component::SpriteRenderer>},
    {"Rigidbody", "Rigidbody", Add<Component::RigidBody>},
    {"Circle Collider", "Circle Collider", Add<Component::CircleCollider2D>},
    {"Box Collider", "Box Collider", Add<Component::BoxCollider2D>},
    {"UI Image", "UI Image", Add<UIComponent::UIImage>},
    {"UI Text", "UI Text", Add<UIComponent::UIText>},
    {"UI Button", "UI Button", Add<UIComponent::UIButton>},
    {"Raycast", "Raycast Component", Add<Component::RaycastComponent>},
    {"Animator Component", "Animator Component", Add<Component::Animator>},
    {"Script", "Script Component", Add<Component::ScriptComponent>},
    {"Particle Emitter", "Particle Emitter", Add<Component::ParticleEmitter>},
    {"Light", "Light", Add<Component::Light>},
    {"Behaviour", "Behaviour", Add<Component::BehaviourComponent>},
};

// The line of `text` that begins at `start`, without its line feed; `start` moves past it.
// A view, so that a scene line of any length is never copied.
std::string_view NextLine(const std::string& text, std::size_t& start)
{
    const std::size_t begin = std::min(start, text.size());
    const std::size_t end = std::min(text.find('\n', begin), text.size());
    start = end + 1;
    return std::string_view(text).substr(begin, end - begin);
}

// Names of a header line: everything after the first ':', each name ended by a comma.
std::vector<std::string> CommaTerminatedList(std::string_view line)
{
    std::vector<std::string> names;
    std::size_t start = line.find(':');
    if (start == std::string::npos)
    {
        return names;
    }
    ++start;
    for (std::size_t comma = line.find(',', start); comma != std::string::npos; comma = line.find(',', start))
    {
        names.emplace_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

// The first pending-link entity whose own link key is `key`, or null.
ECS::IEntity* FindLinked(const std::vector<JSONManager::PendingLink>& links, uint32_t key)
{
    for (const JSONManager::PendingLink& link : links)
    {
        if (link.entity->currentParentId == key)
        {
            return link.entity;
        }
    }
    return nullptr;
}

bool ReadUnsigned(const rapidjson::Value& object, const char* member, uint32_t& out)
{
    auto found = object.FindMember(member);
    if (found == object.MemberEnd() || !found->value.IsInt64())
    {
        return false;
    }
    out = static_cast<uint32_t>(found->value.GetInt64());
    return true;
}

} // namespace

bool JSONManager::Parse(std::string_view text, rapidjson::Document& document)
{
    // The iterative parser keeps its own stack, but every later walk of the document recurses,
    // so the depth is capped before anything else sees it.
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (inString)
        {
            if (c == '\\')
            {
                ++i;
            }
            else if (c == '"')
            {
                inString = false;
            }
        }
        else if (c == '"')
        {
            inString = true;
        }
        else if ((c == '[' || c == '{') && ++depth > MAX_DEPTH)
        {
            return false;
        }
        else if (c == ']' || c == '}')
        {
            --depth;
        }
    }
    document.Parse<rapidjson::kParseIterativeFlag>(text.data(), text.size());
    return !document.HasParseError();
}

uint64_t JSONManager::RegisterTag(const std::string& name)
{
    Engine& engine = Engine::Instance();
    const uint64_t value = engine.tags.Register(name);
    if (value == 0)
    {
        engine.logger.Log("Error: Load Failed. Tag " + name + " is past the 32 usable tags");
    }
    return value;
}

uint64_t JSONManager::TagValue(const std::string& name) const
{
    return Engine::Instance().tags.Value(name);
}

std::vector<std::string> JSONManager::TagNames(uint64_t mask) const
{
    return Engine::Instance().tags.Names(mask);
}

void JSONManager::ClearTags()
{
    Engine::Instance().tags.Clear();
}

void JSONManager::RunLoadingFrame(bool showLoadingFrames)
{
    if (!showLoadingFrames)
    {
        return;
    }
    Engine& engine = Engine::Instance();
    if (loadingFrameShown && engine.timer->Now() - lastLoadingFrame < LOADING_FRAME_INTERVAL)
    {
        return;
    }
    engine.RunFrame();
    loadingFrameShown = true;
    lastLoadingFrame = engine.timer->Now();
}

ECS::IEntity* JSONManager::ReadEntity(const rapidjson::Value& document, rapidjson::SizeType index,
                                      std::vector<PendingLink>& links,
                                      std::vector<ECS::PendingEntityReference>& references)
{
    Engine& engine = Engine::Instance();
    ECS::IEntity* entity = engine.entities->CreateEntity();
    const rapidjson::Value& object = document[index];
    loadingLabel = "Entity";
    loadingDetail = entity->name;
    if (!object.IsObject())
    {
        engine.logger.Log("Error: Load Failed. Entity is Invalid");
        return nullptr; // no component was added: the entity is still free
    }

    auto id = object.FindMember("ID");
    auto idType = object.FindMember("ID Type");
    if (id != object.MemberEnd() && idType != object.MemberEnd() && id->value.IsString() &&
        idType->value.IsInt64())
    {
        entity->name = id->value.GetString();
        entity->tags = static_cast<uint64_t>(idType->value.GetInt64());
        loadingDetail = entity->name;
    }
    ReadUnsigned(object, "Layer", entity->layer);
    ReadUnsigned(object, "Room", entity->room);
    if (auto active = object.FindMember("GameObject Active"); active != object.MemberEnd())
    {
        entity->gameObjectActive = active->value.IsBool() && active->value.GetBool();
    }
    if (auto owner = object.FindMember("Prefab Owner");
        owner != object.MemberEnd() && owner->value.IsString())
    {
        entity->prefabOwner = owner->value.GetString();
    }
    if (ReadUnsigned(object, "Current Parent ID", entity->currentParentId))
    {
        PendingLink link{entity, NO_PARENT};
        ReadUnsigned(object, "Parent ID", link.parentKey);
        links.push_back(link);
    }

    const ECS::ComponentReader reader(*engine.resources);
    for (const BlockKind& kind : BLOCKS)
    {
        auto block = object.FindMember(kind.member);
        if (block == object.MemberEnd())
        {
            continue;
        }
        loadingDetail = entity->name + " " + kind.label;
        if (!block->value.IsObject())
        {
            engine.logger.Log(std::string("Error: Load Failed. ") + kind.label + " Failed to Load");
            // Not in any scene, so nothing is registered: stripping the components returns the
            // entity to the pool instead of leaving it in use for ever.
            std::erase_if(links, [entity](const PendingLink& l) { return l.entity == entity; });
            std::erase_if(references, [entity](const ECS::PendingEntityReference& r)
                          { return r.component->owner == entity; });
            entity->RemoveAllComponents();
            return nullptr;
        }
        reader.Read(*kind.add(*entity), block->value, &references);
    }
    if (entity->components.empty())
    {
        // Without a component the entity is free in the pool: the next entity read would be
        // handed the same object, and the scene would list it twice.
        engine.logger.Log("Error: Load Failed. Entity is Invalid");
        std::erase_if(links, [entity](const PendingLink& l) { return l.entity == entity; });
        return nullptr;
    }

    engine.scenes->current->scriptSystem->CompileEntity(entity);
    newEntities.push_back(entity);
    return entity;
}

void JSONManager::DecodeAndUploadTextures(bool showLoadingFrames)
{
    loadingLabel = "Textures";
    std::vector<Resource::Texture2D*> textures;
    for (const auto& [name, texture] : Engine::Instance().resources->textures)
    {
        textures.push_back(texture.get());
    }
    const std::size_t n = textures.size();
    if (n == 0)
    {
        return;
    }
    const int32_t step = (progressTotal - progress) / static_cast<int32_t>(n * 5 / 4);
    // The calling thread's slice keeps the loading screen alive between its textures.
    Engine::Instance().workers.ParallelFor(n,
                                           [&](std::size_t begin, std::size_t end, std::size_t slice)
                                           {
                                               for (std::size_t i = begin; i < end; ++i)
                                               {
                                                   textures[i]->Load();
                                                   if (slice == WorkerPool::CALLER_SLICE)
                                                   {
                                                       progress += step;
                                                       RunLoadingFrame(showLoadingFrames);
                                                   }
                                               }
                                           });

    for (Resource::Texture2D* texture : textures)
    {
        texture->Upload();
        loadingDetail = texture->name;
        progress += step;
        RunLoadingFrame(showLoadingFrames);
    }
}

void JSONManager::ReplaceSceneEntities(const std::string& path)
{
    Engine& engine = Engine::Instance();
    Scene& scene = *engine.scenes->current;
    while (!scene.entities.empty())
    {
        scene.RemoveEntity(scene.entities.front(), false);
    }
    scene.mainCamera = nullptr; // until the file provides an entity with a Camera
    for (ECS::IEntity* entity : newEntities)
    {
        if (scene.mainCamera == nullptr && entity->GetComponent<Component::Camera>() != nullptr)
        {
            scene.mainCamera = entity;
        }
        scene.AddEntity(entity);
    }
    newEntities.clear();

    // Reloading the same scene keeps everything it had.
    if (scene.name != path)
    {
        engine.resources->UnloadUnusedTextures();
        engine.resources->UnloadUnusedMeshes();
        engine.resources->UnloadUnusedScripts();
        engine.resources->UnloadAllAudio();
        scene.name = path;
    }
}

void JSONManager::LinkParents(const std::vector<PendingLink>& links)
{
    for (const PendingLink& link : links)
    {
        if (link.parentKey == NO_PARENT)
        {
            continue;
        }
        ECS::IEntity* parent = FindLinked(links, link.parentKey);
        if (parent == nullptr)
        {
            continue;
        }
        // A child that is already an ancestor of its parent would make every walk up the
        // hierarchy endless; the link is refused and the child stays a root.
        bool cycle = false;
        for (const ECS::IEntity* up = parent; up != nullptr && up->parent != up && !cycle; up = up->parent)
        {
            cycle = up == link.entity;
        }
        if (cycle)
        {
            Engine::Instance().logger.Log("Error: Load Failed. " + link.entity->name +
                                          " would be its own ancestor; it stays unparented");
            continue;
        }
        link.entity->parent = parent;
        loadingLabel = "a link between parents and children";
        loadingDetail = link.entity->name + " links";
    }
}

void JSONManager::ResolveReferences(const std::vector<PendingLink>& links,
                                    const std::vector<ECS::PendingEntityReference>& references)
{
    for (const ECS::PendingEntityReference& reference : references)
    {
        if (ECS::IEntity* target = FindLinked(links, reference.linkKey))
        {
            reference.Resolve(target);
        }
    }
}

void JSONManager::LoadScene(const std::string& path, bool showLoadingFrames)
{
    Engine& engine = Engine::Instance();

    // 1. Fresh tags and no key held across the load.
    ClearTags();
    RegisterTag("Default");
    engine.input->ClearKeyboard();
    progress = 0;
    loadingFrameShown = false;

    // 2. Header lines, then the scene line.
    std::string text;
    Helper::ReadTextFile(path, text);
    std::size_t next = 0;
    std::string_view line = NextLine(text, next);
    if (line.find("Tags:") != std::string_view::npos)
    {
        for (const std::string& tag : CommaTerminatedList(line))
        {
            RegisterTag(tag);
        }
        line = NextLine(text, next);
    }
    std::vector<std::string> sounds;
    if (line.find("Audio:") != std::string_view::npos)
    {
        sounds = CommaTerminatedList(line);
        line = NextLine(text, next);
    }
    rapidjson::Document document;

    // 3. A file that is not a scene leaves the current one as it is.
    if (!Parse(line, document) || !document.IsArray())
    {
        engine.logger.Log("Error: Load Failed. Scene is Invalid");
        progress = progressTotal + 1;
        return;
    }

    // 4. Entities.
    const rapidjson::SizeType count = document.Size();
    progressTotal = 10 * static_cast<int32_t>(count);
    std::vector<PendingLink> links;
    std::vector<ECS::PendingEntityReference> references;
    for (rapidjson::SizeType i = 0; i < count; ++i)
    {
        ReadEntity(document, i, links, references);
        ++progress;
        if (progress % 20 == 0)
        {
            RunLoadingFrame(showLoadingFrames);
        }
    }

    // 5. Textures: decoded on the workers and here, uploaded here.
    DecodeAndUploadTextures(showLoadingFrames);

    // 6 to 8. The new entities replace the old; unused resources go when the scene changes.
    ReplaceSceneEntities(path);
    Scene& scene = *engine.scenes->current;

    // 9. Sounds.
    loadingLabel = "Audio";
    for (const std::string& sound : sounds)
    {
        engine.resources->LoadAudio(sound);
    }

    // 10 and 11. Parents and script references, by link key.
    LinkParents(links);
    ResolveReferences(links, references);

    // 12. A playing scene starts where its camera says.
    if (scene.playing && scene.mainCamera != nullptr)
    {
        auto* transform = scene.mainCamera->GetComponent<Component::Transform>();
        auto* camera = scene.mainCamera->GetComponent<Component::Camera>();
        if (transform != nullptr)
        {
            transform->position = camera->startPosition;
        }
        camera->zoom = camera->startZoom;
    }

    // 13 to 16. Scripts, matrices, and a clock that forgets the time spent loading.
    scene.scriptSystem->CompileScene();
    scene.transformSystem->UpdateAll();
    // The step that asked for this load ran the camera before its scripts; without this the
    // frame drawn next would use a camera that has never been computed and show nothing.
    scene.cameraSystem->Update(0.0f);
    engine.timer->Reset();
    progress = progressTotal + 1;
}

ECS::IEntity* JSONManager::LoadPrefab(const std::string& path, const Math::Vector4& position)
{
    Engine& engine = Engine::Instance();

    // 1. The first line of the file, read once per path; a missing file caches nothing useful
    // and is tried again next time.
    std::string& text = fileCache[path];
    if (text.empty())
    {
        Helper::ReadTextFile(path, text);
        if (const std::size_t end = text.find('\n'); end != std::string::npos)
        {
            text.erase(end);
            text.shrink_to_fit(); // the cache keeps the line, not the rest of the file
        }
    }

    // 2. A prefab is one JSON array of entities.
    rapidjson::Document document;
    if (!Parse(text, document) || !document.IsArray())
    {
        engine.logger.Log("Error: Load Failed. Prefab is Invalid");
        return nullptr;
    }

    // 3. Entities; a broken one is dropped, the rest still come.
    std::vector<PendingLink> links;
    std::vector<ECS::PendingEntityReference> references;
    ECS::IEntity* result = nullptr;
    for (rapidjson::SizeType i = 0; i < document.Size(); ++i)
    {
        ECS::IEntity* entity = ReadEntity(document, i, links, references);
        if (i == 0)
        {
            result = entity;
        }
    }

    // 4. Textures inline: no workers and no loading frames for a prefab.
    for (const auto& [name, texture] : engine.resources->textures)
    {
        if (texture->pixels == nullptr)
        {
            texture->Load();
        }
    }
    for (const auto& [name, texture] : engine.resources->textures)
    {
        texture->Upload();
    }

    // 5. Into the running scene; its main camera stays.
    Scene& scene = *engine.scenes->current;
    for (ECS::IEntity* entity : newEntities)
    {
        scene.AddEntity(entity);
    }
    const std::vector<ECS::IEntity*> instanced = std::move(newEntities);
    newEntities.clear();

    // 6. Parents among the prefab's own entities; roots go where they were asked for. A root
    // without a Transform has nothing to place.
    LinkParents(links);
    for (const PendingLink& link : links)
    {
        auto* transform = link.entity->GetComponent<Component::Transform>();
        if (link.parentKey == NO_PARENT && transform != nullptr)
        {
            transform->position = position;
        }
    }
    // Collisions later in this step read world matrices, which the transforms only refresh at
    // the end of the step: without this a new instance would touch whatever lies at the origin.
    for (ECS::IEntity* entity : instanced)
    {
        if (entity->GetComponent<Component::Transform>() != nullptr)
        {
            TransformSystem::UpdateEntity(entity);
        }
    }

    // 7. Script references among the prefab's entities.
    ResolveReferences(links, references);
    return result;
}

} // namespace Varn::System
