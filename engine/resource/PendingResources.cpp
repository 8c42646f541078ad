// Temporary definitions so the engine links while the OpenGL-backed resources are written.
// Delete this file when Texture2D, Mesh2D, Shader, Audio and the loading operations land.
#include "resource/Audio.h"
#include "resource/FontSet.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceManager.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

namespace Varn::Resource
{
Texture2D::~Texture2D() = default;
void Texture2D::Load()
{
}
void Texture2D::Upload()
{
}
Mesh2D::Mesh2D(uint32_t c, uint32_t r) : columns(c), rows(r)
{
}
Mesh2D::~Mesh2D() = default;
Shader::Shader(const char*, const char*, const char*)
{
}
Audio::~Audio() = default;
} // namespace Varn::Resource

namespace Varn::System
{
void ResourceManager::LoadDefaults()
{
}
void ResourceManager::LoadDefaultAssets()
{
}
Resource::Shader* ResourceManager::CreateShader(const char*, const char*, const char*, const std::string&)
{
    return nullptr;
}
Resource::Shader* ResourceManager::LoadVertexShader(const std::string&, const std::string&)
{
    return nullptr;
}
Resource::Shader* ResourceManager::LoadFragmentShader(const std::string&, const std::string&)
{
    return nullptr;
}
Resource::Mesh2D* ResourceManager::GetMesh(const std::string& name, uint32_t columns, uint32_t rows)
{
    auto& slot = meshes[name];
    if (!slot)
    {
        slot = std::make_unique<Resource::Mesh2D>(columns, rows);
        slot->name = name;
    }
    return slot.get();
}
Resource::FontSet* ResourceManager::LoadFont(const std::string&)
{
    return nullptr;
}
Resource::Audio* ResourceManager::LoadAudio(const std::string&)
{
    return nullptr;
}
void ResourceManager::UnloadUnusedTextures()
{
}
void ResourceManager::UnloadUnusedMeshes()
{
}
void ResourceManager::UnloadUnusedScripts()
{
}
void ResourceManager::UnloadAllAudio()
{
}
void ResourceManager::ReloadDroppedFile(DROPPED_FILE, const std::string&)
{
}
} // namespace Varn::System
