#pragma once
// Owns every texture, shader, mesh, font, sound and script, each registry keyed by the exact
// string it was asked for (no case folding, no slash normalisation). Every "get" is a
// get-or-create, so components share resources by pointer and never own them. Main thread
// only, except Texture2D::Load on textures the main thread already created.
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace Varn
{
enum class DROPPED_FILE;
class Logger;
} // namespace Varn
namespace Varn::Resource
{
class IResource;
class Texture2D;
class Mesh2D;
class Shader;
class FontSet;
class Audio;
class Script;
} // namespace Varn::Resource

namespace Varn::Resource
{

class ResourceManager
{
public:
    static constexpr const char* DEFAULT_TEXTURE = "Resources\\Sprites\\basicSprite.dds";
    static constexpr const char* DEFAULT_PARTICLE_TEXTURE = "Resources\\Sprites\\basicParticleSprite.dds";
    static constexpr const char* DEFAULT_MESH = "basicSpriteMesh";
    static constexpr const char* DEFAULT_FONT = "Resources\\Fonts\\FiraCode-Regular.ttf";
    static constexpr const char* DEFAULT_SCRIPT = "Resources\\Scripts\\BasicScript.orin";
    static constexpr const char* SPRITE_SHADER = "basicSpriteShader";
    static constexpr const char* SPRITE_BATCH_SHADER = "batchedSpriteShader";
    static constexpr const char* SPRITE_BATCH_UNLIT_SHADER = "batchedUnlitSpriteShader";
    static constexpr const char* FBO_SHADER = "fboShader";
    static constexpr const char* FBO_BLUR_SHADER = "fboBlurShader";
    static constexpr const char* TEXT_SHADER = "basicTextShader";
    static constexpr const char* PARTICLE_SHADER = "basicParticleShader";

    // Failures to read or build a resource are told to `logger`.
    explicit ResourceManager(Logger& logger);
    ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Once, after the window and the first scene exist: default assets, the six built-in
    // shaders, the default font and the shared text quad.
    void LoadDefaults();
    void LoadDefaultAssets();

    Texture2D* GetTexture(const std::string& path); // never null; reads nothing
    // The same, decoded and uploaded now unless it already has an OpenGL texture; a file that
    // cannot be read is logged and leaves the texture empty. Main thread.
    Texture2D* LoadTexture(const std::string& path);
    void UnloadTexture(const std::string& path);
    // Sources are ignored when `name` is registered; geometrySource may be null.
    Shader* CreateShader(const char* vertexSource, const char* fragmentSource, const char* geometrySource,
                         const std::string& name);
    Shader* LoadVertexShader(const std::string& path, const std::string& name);   // may be null
    Shader* LoadFragmentShader(const std::string& path, const std::string& name); // may be null
    Mesh2D* GetMesh(const std::string& name, uint32_t columns, uint32_t rows);    // may be null
    FontSet* LoadFont(const std::string& path);                                   // may be null
    Audio* LoadAudio(const std::string& path);   // never null; its sound may be
    Script* LoadScript(const std::string& path); // may be null

    // Lookups that never create: null when the key is not registered.
    Shader* FindShader(const std::string& name) const;
    Mesh2D* FindMesh(const std::string& name) const;
    FontSet* FindFont(const std::string& path) const;

    // Resources something still points at; what a scene's components use, say.
    using InUse = std::unordered_set<const IResource*>;
    // Releases the textures, meshes and scripts that `used` does not hold.
    void UnloadUnused(const InUse& used);
    void UnloadAllAudio();

    // A file dropped on the window, already cut to begin at "Resources". A file that is
    // already registered is read again and replaces the content of the same resource object,
    // so components keep their pointers; a failed reload logs and keeps what was there.
    void ReloadDroppedFile(DROPPED_FILE kind, const std::string& path);

    std::unordered_map<std::string, std::unique_ptr<Texture2D>> textures;
    std::unordered_map<std::string, std::unique_ptr<Shader>> shaders;
    std::unordered_map<std::string, std::unique_ptr<Mesh2D>> meshes;
    std::unordered_map<std::string, std::unique_ptr<FontSet>> fonts;
    std::unordered_map<std::string, std::unique_ptr<Audio>> sounds;
    std::unordered_map<std::string, std::unique_ptr<Script>> scripts;
    uint32_t textVao = 0, textVbo = 0; // the shared quad that text glyphs are drawn with

private:
    Logger& logger;

    void CreateTextQuad();
    // Reads a shader stage file; logs and returns false when it cannot be opened.
    bool ReadShaderStage(const std::string& path, bool vertexStage, std::string& text) const;
    void ReloadTexture(const std::string& path);
    void ReloadShader(const std::string& path, bool vertexStage);
    void ReloadFont(const std::string& path);
    void ReloadScript(const std::string& path);
    void ReloadSound(const std::string& path);
};

} // namespace Varn::Resource
