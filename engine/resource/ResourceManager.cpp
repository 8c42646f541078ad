#include "resource/ResourceManager.h"

#include "core/FilePath.h"
#include "core/Logger.h"
#include "core/Window.h"
#include "resource/Audio.h"
#include "resource/BuiltinShaders.h"
#include "resource/FontSet.h"
#include "resource/GLContext.h"
#include "resource/Mesh2D.h"
#include "resource/Script.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

#include <glbinding/gl33core/gl.h>

#include <utility>

using namespace gl33core;

namespace Varn::Resource
{

namespace
{
template <typename Map> typename Map::mapped_type::pointer Find(const Map& map, std::string_view key)
{
    auto found = map.find(key);
    return found == map.end() ? nullptr : found->second.get();
}

constexpr int TEXT_QUAD_VERTICES = 6; // two triangles per glyph
constexpr int TEXT_VERTEX_FLOATS = 4; // x, y, u, v
} // namespace

ResourceManager::ResourceManager(Logger& logger_) : logger(logger_)
{
}

ResourceManager::~ResourceManager()
{
    // Textures first (each deletes its OpenGL texture), then shaders, meshes, glyph sets,
    // sounds, scripts, and last the text quad.
    textures.clear();
    shaders.clear();
    meshes.clear();
    fonts.clear();
    sounds.clear();
    scripts.clear();
    if (HasCurrentGLContext())
    {
        if (textVao != 0)
        {
            glDeleteVertexArrays(1, &textVao);
        }
        if (textVbo != 0)
        {
            glDeleteBuffers(1, &textVbo);
        }
    }
    textVao = textVbo = 0;
}

void ResourceManager::LoadDefaults()
{
    using namespace Resource::BuiltinShaders;
    LoadDefaultAssets();
    CreateShader(SPRITE_VERTEX, SPRITE_FRAGMENT, nullptr, SPRITE_SHADER);
    CreateShader(SPRITE_BATCH_VERTEX, SPRITE_BATCH_FRAGMENT, nullptr, SPRITE_BATCH_SHADER);
    CreateShader(SPRITE_BATCH_VERTEX, SPRITE_BATCH_UNLIT_FRAGMENT, nullptr, SPRITE_BATCH_UNLIT_SHADER);
    CreateShader(FBO_VERTEX, FBO_FRAGMENT, nullptr, FBO_SHADER);
    CreateShader(FBO_VERTEX, FBO_BLUR_FRAGMENT, nullptr, FBO_BLUR_SHADER);
    CreateShader(TEXT_VERTEX, TEXT_FRAGMENT, nullptr, TEXT_SHADER);
    CreateShader(PARTICLE_VERTEX, PARTICLE_FRAGMENT, nullptr, PARTICLE_SHADER);
    LoadFont(DEFAULT_FONT);
    if (textVao == 0 && HasCurrentGLContext())
    {
        CreateTextQuad();
    }
}

void ResourceManager::LoadDefaultAssets()
{
    GetMesh(DEFAULT_MESH, 1, 1);
    Texture2D* sprite = GetTexture(DEFAULT_TEXTURE);
    Texture2D* particle = GetTexture(DEFAULT_PARTICLE_TEXTURE);
    sprite->Load();
    particle->Load();
    sprite->Upload();
    particle->Upload();
    LoadScript(DEFAULT_SCRIPT);
}

void ResourceManager::CreateTextQuad()
{
    // Filled per glyph by the text renderer, hence no data yet and dynamic usage.
    const GLsizei stride = TEXT_VERTEX_FLOATS * sizeof(float);
    glGenVertexArrays(1, &textVao);
    glGenBuffers(1, &textVbo);
    glBindVertexArray(textVao);
    glBindBuffer(GL_ARRAY_BUFFER, textVbo);
    glBufferData(GL_ARRAY_BUFFER, TEXT_QUAD_VERTICES * stride, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, TEXT_VERTEX_FLOATS, GL_FLOAT, GL_FALSE, stride, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

Texture2D* ResourceManager::GetTexture(std::string_view path)
{
    if (Texture2D* known = Find(textures, path))
    {
        return known;
    }
    auto& slot = textures[std::string(path)];
    slot = std::make_unique<Texture2D>(logger);
    slot->name = path;
    slot->path = path;
    return slot.get();
}

Texture2D* ResourceManager::LoadTexture(const std::string& path)
{
    Texture2D* texture = GetTexture(path);
    // A claimed texture is on its way up with a scene load, which is using its pixels.
    if (texture->textureId == 0 && !texture->claimed)
    {
        texture->Load();
        texture->Upload();
    }
    return texture;
}

void ResourceManager::UnloadTexture(const std::string& path)
{
    textures.erase(path); // the texture's destructor deletes its OpenGL texture
}

Shader* ResourceManager::CreateShader(const char* vertexSource, const char* fragmentSource,
                                      const char* geometrySource, const std::string& name)
{
    if (Shader* known = Find(shaders, name))
    {
        return known;
    }
    // Registered even when it did not build (program 0), so the name is not retried each time.
    auto shader = std::make_unique<Shader>(logger, vertexSource, fragmentSource, geometrySource);
    shader->name = name;
    Shader* raw = shader.get();
    shaders[name] = std::move(shader);
    return raw;
}

bool ResourceManager::ReadShaderStage(const std::string& path, bool vertexStage, std::string& text) const
{
    if (ReadTextFile(path, text))
    {
        return true;
    }
    logger.Log(vertexStage ? "Error: Failed to Load Vertex Shader" : "Error: Failed to Load Fragment Shader");
    return false;
}

Shader* ResourceManager::LoadVertexShader(const std::string& path, const std::string& name)
{
    // A single stage from a file is linked with the sprite program's other stage.
    std::string text;
    if (!ReadShaderStage(path, true, text))
    {
        return nullptr;
    }
    return CreateShader(text.c_str(), BuiltinShaders::SPRITE_FRAGMENT, nullptr, name);
}

Shader* ResourceManager::LoadFragmentShader(const std::string& path, const std::string& name)
{
    std::string text;
    if (!ReadShaderStage(path, false, text))
    {
        return nullptr;
    }
    return CreateShader(BuiltinShaders::SPRITE_VERTEX, text.c_str(), nullptr, name);
}

Mesh2D* ResourceManager::GetMesh(const std::string& name, uint32_t columns, uint32_t rows)
{
    if (Mesh2D* known = Find(meshes, name))
    {
        return known;
    }
    // A sheet of no cells would divide by zero; without a context there are no buffers.
    if (columns == 0 || rows == 0)
    {
        logger.Log("Error: Failed to Create Mesh");
        return nullptr;
    }
    auto mesh = std::make_unique<Mesh2D>(columns, rows);
    if (mesh->vao == 0 || mesh->vbo == 0 || mesh->ebo == 0)
    {
        logger.Log("Error: Failed to Create Mesh");
        return nullptr;
    }
    mesh->name = name;
    Mesh2D* raw = mesh.get();
    meshes[name] = std::move(mesh);
    return raw;
}

FontSet* ResourceManager::LoadFont(const std::string& path)
{
    if (FontSet* known = Find(fonts, path))
    {
        return known;
    }
    // Only a font that built is registered, so a later call tries the file again.
    auto font = std::make_unique<FontSet>(logger);
    if (!font->Load(path))
    {
        return nullptr;
    }
    font->name = path;
    FontSet* raw = font.get();
    fonts[path] = std::move(font);
    return raw;
}

Audio* ResourceManager::LoadAudio(const std::string& path)
{
    if (Audio* known = Find(sounds, path))
    {
        return known;
    }
    // Registered whether or not it loaded: a missing sound is reported once, and playing the
    // silent Audio is harmless.
    auto audio = std::make_unique<Audio>();
    audio->name = path;
    if (!audio->Load(path))
    {
        logger.Log("Error: Failed To Load Sound:" + path);
    }
    Audio* raw = audio.get();
    sounds[path] = std::move(audio);
    return raw;
}

Script* ResourceManager::LoadScript(const std::string& path)
{
    if (Script* known = Find(scripts, path))
    {
        return known;
    }
    std::string text;
    if (!ReadTextFile(path, text))
    {
        logger.Log("Error: Failed To Open Script: " + path);
        return nullptr;
    }
    auto script = std::make_unique<Script>();
    script->name = path;
    script->Read(text);
    Script* raw = script.get();
    scripts[path] = std::move(script);
    return raw;
}

Shader* ResourceManager::FindShader(std::string_view name) const
{
    return Find(shaders, name);
}

Mesh2D* ResourceManager::FindMesh(std::string_view name) const
{
    return Find(meshes, name);
}

FontSet* ResourceManager::FindFont(std::string_view path) const
{
    return Find(fonts, path);
}

void ResourceManager::UnloadUnused(const InUse& used)
{
    // Erasing deletes each resource with its OpenGL object, as UnloadTexture does.
    const auto unused = [&used](const auto& entry) { return !used.contains(entry.second.get()); };
    std::erase_if(textures, unused);
    std::erase_if(meshes, unused);
    std::erase_if(scripts, unused);
}

void ResourceManager::UnloadAllAudio()
{
    sounds.clear(); // each Audio frees its sound
}

void ResourceManager::ReloadDroppedFile(DROPPED_FILE kind, const std::string& path)
{
    switch (kind)
    {
    case DROPPED_FILE::TEXTURE:
        ReloadTexture(path);
        break;
    case DROPPED_FILE::FONT:
        ReloadFont(path);
        break;
    case DROPPED_FILE::SCRIPT:
        ReloadScript(path);
        break;
    case DROPPED_FILE::SHADER:
        // ".vert" wins over ".frag" when a path has both, as in the window's classification.
        if (path.find(".vert") != std::string::npos)
        {
            ReloadShader(path, true);
        }
        else if (path.find(".frag") != std::string::npos)
        {
            ReloadShader(path, false);
        }
        break;
    case DROPPED_FILE::SOUND:
        ReloadSound(path);
        break;
    case DROPPED_FILE::NONE:
        break;
    }
}

void ResourceManager::ReloadTexture(const std::string& path)
{
    Texture2D* texture = GetTexture(path);
    if (texture->claimed)
    {
        return; // a scene load is decoding the file this moment, so it gets the new pixels
    }
    // Load does nothing for a texture that is already uploaded, so the old OpenGL copy goes
    // first; otherwise a dropped file would never replace what is on screen.
    if (texture->textureId != 0 && HasCurrentGLContext())
    {
        glDeleteTextures(1, &texture->textureId);
        texture->textureId = 0;
    }
    texture->Load();
    texture->Upload();
}

void ResourceManager::ReloadShader(const std::string& path, bool vertexStage)
{
    Shader* known = FindShader(path);
    if (known == nullptr)
    {
        if (vertexStage)
        {
            LoadVertexShader(path, path);
        }
        else
        {
            LoadFragmentShader(path, path);
        }
        return;
    }
    std::string text;
    if (!ReadShaderStage(path, vertexStage, text))
    {
        return;
    }
    using namespace Resource::BuiltinShaders;
    Shader fresh(logger, vertexStage ? text.c_str() : SPRITE_VERTEX,
                 vertexStage ? SPRITE_FRAGMENT : text.c_str(), nullptr);
    // An edit that does not build keeps the program that did; the swap hands the old program
    // to `fresh`, which deletes it.
    if (fresh.program != 0)
    {
        std::swap(known->program, fresh.program);
    }
}

void ResourceManager::ReloadFont(const std::string& path)
{
    if (FontSet* known = FindFont(path))
    {
        known->Load(path); // logs and keeps the old glyphs on failure
        return;
    }
    LoadFont(path);
}

void ResourceManager::ReloadScript(const std::string& path)
{
    Script* known = Find(scripts, path);
    if (known == nullptr)
    {
        LoadScript(path);
        return;
    }
    std::string text;
    if (!ReadTextFile(path, text))
    {
        logger.Log("Error: Failed To Open Script: " + path);
        return;
    }
    known->Read(text);
}

void ResourceManager::ReloadSound(const std::string& path)
{
    Audio* known = Find(sounds, path);
    if (known == nullptr)
    {
        LoadAudio(path);
        return;
    }
    if (!known->Load(path))
    {
        logger.Log("Error: Failed To Load Sound:" + path);
    }
}

} // namespace Varn::Resource
