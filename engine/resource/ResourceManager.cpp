#include "resource/ResourceManager.h"

#include "resource/Audio.h"
#include "resource/FontSet.h"
#include "resource/Mesh2D.h"
#include "resource/Script.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

namespace Varn::System
{

ResourceManager::ResourceManager() = default;
ResourceManager::~ResourceManager() = default;

} // namespace Varn::System

// Placeholder until the registries land: nothing can be reloaded yet.
void Varn::System::ResourceManager::ReloadDroppedFile(DROPPED_FILE, const std::string&) {}
Varn::Resource::Texture2D::~Texture2D() = default;
Varn::Resource::Mesh2D::~Mesh2D() = default;
Varn::Resource::Audio::~Audio() = default;
