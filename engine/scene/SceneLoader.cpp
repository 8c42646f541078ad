#include "scene/SceneLoader.h"

#include "core/Clock.h"
#include "core/FilePath.h"
#include "core/InputManager.h"
#include "core/Logger.h"
#include "core/Timer.h"
#include "core/WorkerPool.h"
#include "ecs/Camera.h"
#include "ecs/LoadProgress.h"
#include "ecs/ParticleEmitter.h"
#include "ecs/Scene.h"
#include "ecs/SceneStack.h"
#include "ecs/ScriptComponent.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/TagRegistry.h"
#include "ecs/Transform.h"
#include "ecs/TransformSystem.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "graphics/CameraSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/ParticleSystem.h"
#include "graphics/UIGraphicsSystem.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceManager.h"
#include "resource/Script.h"
#include "resource/Texture2D.h"
#include "scene/EntityReader.h"
#include "script/ScriptSystem.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace Varn::Scene
{

namespace
{

// Empties a document and the text its strings point into, and gives back their memory. Parsing
// into a document only ever adds to its pool, so a loader that kept it would hold every scene it
// ever read: a few megabytes more with each load of a large level.
void Release(rapidjson::Document& document, SceneText& text)
{
    document.SetNull();
    document.GetAllocator().Clear();
    text = SceneText{};
}

// Reads a scene file and finds where its first lines end.
bool ReadScene(const std::string& path, SceneText& text)
{
    text = SceneText{};
    if (!ReadFileBytes(path, text.bytes, text.size))
    {
        return false;
    }
    const char* end = text.bytes.get() + text.size;
    const char* p = text.bytes.get();
    for (std::size_t& lineEnd : text.lineEnds)
    {
        const void* feed = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        p = feed == nullptr ? end : static_cast<const char*>(feed);
        lineEnd = static_cast<std::size_t>(p - text.bytes.get());
        p = p == end ? end : p + 1;
    }
    return true;
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

// What the components in the scene's systems point at; components of entities outside the
// scene do not count.
Resource::ResourceManager::InUse UsedResources(const ECS::Scene& scene)
{
    Resource::ResourceManager::InUse used;
    for (const ECS::IEntity* entity : scene.graphicsSystem->Entities())
    {
        if (const auto* sprite = entity->GetComponent<ECS::SpriteRenderer>())
        {
            used.insert({sprite->texture, sprite->mesh});
        }
    }
    for (const ECS::IEntity* entity : scene.uiGraphicsSystem->Entities())
    {
        if (const auto* image = entity->GetComponent<ECS::UIImage>())
        {
            used.insert({image->texture, image->mesh});
        }
        if (const auto* button = entity->GetComponent<ECS::UIButton>())
        {
            used.insert({button->currentTexture, button->buttonTextureDefault, button->buttonTextureHover,
                         button->buttonTextureDown, button->buttonMesh});
        }
    }
    for (const ECS::IEntity* entity : scene.particleSystem->Entities())
    {
        if (const auto* emitter = entity->GetComponent<ECS::ParticleEmitter>())
        {
            used.insert(emitter->particleTexture);
        }
    }
    for (const ECS::IEntity* entity : scene.scriptSystem->Entities())
    {
        if (const auto* script = entity->GetComponent<ECS::ScriptComponent>())
        {
            used.insert(script->filePath.begin(), script->filePath.end());
        }
    }
    return used;
}

} // namespace

uint64_t SceneLoader::RegisterTag(const std::string& name)
{
    const Services& engine = services;
    const uint64_t value = engine.tags.Register(name);
    if (value == 0)
    {
        engine.logger.Log("Error: Load Failed. Tag " + name + " is past the 32 usable tags");
    }
    return value;
}

bool SceneLoader::LoadingFrameDue()
{
    if (!showLoadingFrames)
    {
        return false;
    }
    if (loadingFrameShown && services.timer.Now() - lastLoadingFrame < LOADING_FRAME_INTERVAL)
    {
        return false;
    }
    loadingFrameShown = true;
    frameRunning = true;
    return true;
}

void SceneLoader::StartTextures()
{
    stage = STAGE::TEXTURES;
    progress.label = "Textures";
    std::vector<Resource::Texture2D*> list;
    for (const auto& [name, texture] : services.resources.textures)
    {
        list.push_back(texture.get());
    }
    const std::size_t n = list.size();
    textureStep = n == 0 ? 0 : (progress.progressTotal - progress.progress) / static_cast<int32_t>(n * 5 / 4);
    textures = std::make_unique<Resource::TextureBatch>(std::move(list), services.workers);
}

void SceneLoader::ReplaceSceneEntities()
{
    const Services& engine = services;
    ECS::Scene& scene = *engine.scenes.current;
    scene.RemoveAllEntities();
    scene.mainCamera = nullptr; // until the file provides an entity with a Camera
    for (ECS::IEntity* entity : entities)
    {
        if (scene.mainCamera == nullptr && entity->GetComponent<ECS::Camera>() != nullptr)
        {
            scene.mainCamera = entity;
        }
        scene.AddEntity(entity);
    }
    entities.clear();

    // Reloading the same scene keeps everything it had.
    if (scene.name != path)
    {
        engine.resources.UnloadUnused(UsedResources(scene));
        engine.resources.UnloadAllAudio();
        scene.name = path;
    }
}

void SceneLoader::Begin(const std::string& path_, bool showLoadingFrames_)
{
    if (Busy())
    {
        showLoadingFrames = false;
        Continue();
    }
    const Services& engine = services;
    path = path_;
    showLoadingFrames = showLoadingFrames_;
    beganTicks = NowTicks();

    // 1. Fresh tags and no key held across the load.
    engine.tags.Clear();
    RegisterTag("Default");
    engine.input.ClearKeyboard();
    progress.progress = 0;
    loadingFrameShown = false;
    frameRunning = false;

    // 2. Header lines, then the scene line.
    const bool readable = ReadScene(path, text);
    std::size_t lineIndex = 0; // of `line` in the file, from 0
    const auto lineAt = [this](std::size_t index)
    {
        const std::size_t start = index == 0 ? 0 : std::min(text.lineEnds[index - 1] + 1, text.size);
        return std::string_view(text.bytes.get() + start, text.lineEnds[index] - start);
    };
    std::string_view line = readable ? lineAt(0) : std::string_view();
    if (line.find("Tags:") != std::string_view::npos)
    {
        for (const std::string& tag : CommaTerminatedList(line))
        {
            RegisterTag(tag);
        }
        line = lineAt(++lineIndex);
    }
    sounds.clear();
    if (line.find("Audio:") != std::string_view::npos)
    {
        sounds = CommaTerminatedList(line);
        line = lineAt(++lineIndex);
    }

    // 3. A file that is not a scene leaves the current one as it is; a second line says where.
    EntityReader::ParseError error;
    if (!readable ||
        !EntityReader::ParseInPlace(text.bytes.get() + (line.data() - text.bytes.get()), line.size(),
                                    document, &error) ||
        !document.IsArray())
    {
        engine.logger.Log("Error: Load Failed. Scene is Invalid");
        const std::string at = path + ":" + std::to_string(lineIndex + 1) + ":";
        engine.logger.Log(!readable            ? path + ": the file cannot be read"
                          : error.what.empty() ? at + " the scene line is not a JSON array of entities"
                                               : at + std::to_string(error.column) + ": " + error.what,
                          Logger::ERROR);
        progress.progress = progress.progressTotal + 1;
        Release(document, text);
        return;
    }
    progress.progressTotal = 10 * static_cast<int32_t>(document.Size());
    nextEntity = 0;
    unknown = {path, {}};
    stage = STAGE::ENTITIES;
    Continue();
}

bool SceneLoader::Continue()
{
    if (!Busy())
    {
        return false;
    }
    if (frameRunning)
    {
        frameRunning = false;
        lastLoadingFrame = services.timer.Now();
    }

    // 4. Entities.
    while (stage == STAGE::ENTITIES)
    {
        if (nextEntity == document.Size())
        {
            StartTextures();
            break;
        }
        if (ECS::IEntity* entity = reader.ReadEntity(document, nextEntity++, links, references, &unknown))
        {
            entities.push_back(entity);
        }
        ++progress.progress;
        if (progress.progress % 20 == 0 && LoadingFrameDue())
        {
            return true;
        }
    }

    // 5. Textures: decoded on the workers and here, uploaded here.
    bool uploaded = false;
    while (const Resource::Texture2D* texture = textures->Next(uploaded))
    {
        if (uploaded)
        {
            progress.detail = texture->name;
        }
        progress.progress += textureStep;
        if (LoadingFrameDue())
        {
            return true;
        }
    }
    textures.reset();
    Finish();
    return false;
}

void SceneLoader::Finish()
{
    const Services& engine = services;
    stage = STAGE::IDLE;
    Release(document, text);

    // 6. The new entities replace the old; unused resources go when the scene changes.
    ReplaceSceneEntities();
    ECS::Scene& scene = *engine.scenes.current;

    // 7. Sounds.
    progress.label = "Audio";
    for (const std::string& sound : sounds)
    {
        engine.resources.LoadAudio(sound);
    }

    // 8. Parents and script references, by link key.
    reader.LinkParents(links);
    EntityReader::ResolveReferences(links, references);
    links.clear();
    references.clear();

    // 9. A playing scene starts where its camera says.
    if (scene.playing && scene.mainCamera != nullptr)
    {
        auto* transform = scene.mainCamera->GetComponent<ECS::Transform>();
        auto* camera = scene.mainCamera->GetComponent<ECS::Camera>();
        if (transform != nullptr)
        {
            transform->position = camera->startPosition;
        }
        camera->zoom = camera->startZoom;
    }

    // 10. Scripts, matrices, and a clock that forgets the time spent loading.
    scene.scriptSystem->CompileScene();
    scene.transformSystem->UpdateAll();
    // The step that asked for this load ran the camera before its scripts; without this the
    // frame drawn next would use a camera that has never been computed and show nothing.
    scene.cameraSystem->Update(0.0f);
    engine.timer.Reset();
    progress.progress = progress.progressTotal + 1;
    const int64_t ms = (NowTicks() - beganTicks) / 10000;
    engine.logger.Log("Loaded " + path + ": " + std::to_string(scene.entities.size()) + " entities in " +
                          std::to_string(ms) + " ms",
                      Logger::DEBUG);
}

} // namespace Varn::Scene
