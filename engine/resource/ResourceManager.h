#pragma once
// Owns every texture, shader, mesh, font, sound and script, each registry keyed by the exact
// string it was asked for (no case folding, no slash normalisation). Every "get" is a
// get-or-create, so components share resources by pointer and never own them. Main thread
// only, except Texture2D::Load on textures the main thread already created.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
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

// A name's hash that a std::string and a std::string_view share, so that registries can be
// asked with a view: a lookup per component of every loaded entity made a string to ask with.
struct NameHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};

// Resources by name (or path), as registered.
template <typename T>
using Registry = std::unordered_map<std::string, std::unique_ptr<T>, NameHash, std::equal_to<>>;

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

    Texture2D* GetTexture(std::string_view path); // never null; reads nothing
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
    Shader* FindShader(std::string_view name) const;
    Mesh2D* FindMesh(std::string_view name) const;
    FontSet* FindFont(std::string_view path) const;

    // Resources something still points at; what a scene's components use, say.
    using InUse = std::unordered_set<const IResource*>;
    // Releases the textures, meshes and scripts that `used` does not hold.
    void UnloadUnused(const InUse& used);
    void UnloadAllAudio();

    // A file dropped on the window, already cut to begin at "Resources". A file that is
    // already registered is read again and replaces the content of the same resource object,
    // so components keep their pointers; a failed reload logs and keeps what was there.
    void ReloadDroppedFile(DROPPED_FILE kind, const std::string& path);

    Registry<Texture2D> textures;
    Registry<Shader> shaders;
    Registry<Mesh2D> meshes;
    Registry<FontSet> fonts;
    Registry<Audio> sounds;
    Registry<Script> scripts;
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
