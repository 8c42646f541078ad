#include "resource/ResourceManager.h"

#include "core/Engine.h"
#include "core/FilePath.h"
#include "resource/Audio.h"
#include "resource/FontSet.h"
#include "resource/Mesh2D.h"
#include "resource/Script.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

namespace Varn::System
{

namespace
{
template <typename Map> typename Map::mapped_type::pointer Find(const Map& map, const std::string& key)
{
    auto found = map.find(key);
    return found == map.end() ? nullptr : found->second.get();
}
} // namespace

ResourceManager::ResourceManager() = default;

ResourceManager::~ResourceManager()
{
    textures.clear();
    shaders.clear();
    meshes.clear();
    fonts.clear();
    sounds.clear();
    scripts.clear();
}

Resource::Texture2D* ResourceManager::GetTexture(const std::string& path)
{
    auto& slot = textures[path];
    if (!slot)
    {
        slot = std::make_unique<Resource::Texture2D>();
        slot->name = path;
        slot->path = path;
    }
    return slot.get();
}

void ResourceManager::UnloadTexture(const std::string& path)
{
    textures.erase(path); // the texture's destructor deletes its OpenGL texture
}

Resource::Shader* ResourceManager::FindShader(const std::string& name) const
{
    return Find(shaders, name);
}

Resource::Mesh2D* ResourceManager::FindMesh(const std::string& name) const
{
    return Find(meshes, name);
}

Resource::FontSet* ResourceManager::FindFont(const std::string& path) const
{
    return Find(fonts, path);
}

Resource::Script* ResourceManager::LoadScript(const std::string& path)
{
    if (Resource::Script* known = Find(scripts, path))
    {
        return known;
    }
    std::string text;
    if (!Helper::ReadTextFile(path, text))
    {
        Engine::Instance().logger.Log("Error: Failed To Open Script: " + path);
        return nullptr;
    }
    auto script = std::make_unique<Resource::Script>();
    script->name = path;
    script->tokens = Resource::Script::Tokenise(text);
    Resource::Script* raw = script.get();
    scripts[path] = std::move(script);
    return raw;
}

} // namespace Varn::System
