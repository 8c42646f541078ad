// Registries, the default resources, teardown and shader files dropped on the window.
#include "resource/BuiltinShaders.h"
#include "resource/FontSet.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceTestSupport.h"
#include "resource/Script.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"

namespace Varn::Test
{
using Resource::ResourceManager;

using ResourceRegistry = EngineTest;

TEST_F(ResourceRegistry, AMissingScriptOrFontIsTriedAgainLaterAndWithoutAContextOnlyTheOpenGLPartsAreSkipped)
{
    ScratchFolder folder{ScratchFolder::ENTER};
    const std::string path = "Resources\\Scripts\\Door.orin";
    EXPECT_EQ(engine->resources->LoadScript(path), nullptr);
    EXPECT_TRUE(engine->resources->scripts.empty());
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Failed To Open Script: " + path});
    folder.Write(path, "[Event] Initialize\n");
    const Resource::Script* script = engine->resources->LoadScript(path);
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(script->tokens, (std::vector<std::string>{"[Event]", "Initialize", ""}));

    engine->logger.Clear();
    folder.Write("Resources/Fonts/text.ttf", "not a font");
    EXPECT_EQ(engine->resources->LoadFont("Resources\\Fonts\\text.ttf"), nullptr);
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Failed To Create FT Face"});
    EXPECT_TRUE(engine->resources->fonts.empty());
    std::filesystem::copy_file(std::string(CORVALUNE_SOURCE_DIR) + "/Resources/Fonts/FiraCode-Regular.ttf",
                               folder.root / "Resources/Fonts/text.ttf",
                               std::filesystem::copy_options::overwrite_existing);
    // Logic tests and a failed start have no OpenGL context: nothing may abort. A font still
    // has its metrics.
    const Resource::FontSet* glyphs = engine->resources->LoadFont("Resources\\Fonts\\text.ttf");
    ASSERT_NE(glyphs, nullptr);
    EXPECT_GT(glyphs->characters.at('A').advance, 0u);
    EXPECT_EQ(glyphs->characters.at('A').textureId, 0u);
    engine->logger.Clear();
    folder.Write("Resources/a.tga", Tga(1, 1, 3, {1, 2, 3}));
    Resource::Texture2D* texture = engine->resources->GetTexture("Resources/a.tga");
    texture->Load();
    texture->Upload();
    EXPECT_NE(texture->pixels, nullptr); // kept for an Upload that can succeed
    EXPECT_EQ(texture->textureId, 0u);

    EXPECT_EQ(engine->resources->GetMesh("quad", 1, 1), nullptr);
    using namespace Resource::BuiltinShaders;
    EXPECT_EQ(engine->resources->CreateShader(FBO_VERTEX, FBO_FRAGMENT, nullptr, "headless")->program, 0u);
    EXPECT_EQ(engine->logger.Lines(), (std::vector<std::string>{"Error: Failed to Create Mesh",
                                                                "Error: Vertex Shader Failed to Create"}));
}

using DefaultResources = DefaultResourcesTest;

TEST_F(DefaultResources, LoadDefaultsBuildsEveryBuiltInResourceOnceAndTheManagerDeletesThemAll)
{
    EXPECT_TRUE(engine->logger.Lines().empty()) << engine->logger.Lines().front();
    // The built-in shaders, mesh and font are used by the graphics tests and the teardown test.
    const Resource::Script* script = resources->scripts.at(ResourceManager::DEFAULT_SCRIPT).get();
    EXPECT_EQ(script->tokens.front(), "//");

    // The plain sprite is opaque white; the particle dot fades to nothing at its corners.
    const Resource::Texture2D* sprite = resources->textures.at(ResourceManager::DEFAULT_TEXTURE).get();
    const Resource::Texture2D* dot = resources->textures.at(ResourceManager::DEFAULT_PARTICLE_TEXTURE).get();
    ASSERT_TRUE(sprite->width == 32 && sprite->height == 32 && dot->width == 32 && dot->height == 32);
    const std::vector<uint8_t> white = ReadTexture(sprite->textureId, 32, 32);
    EXPECT_EQ(std::vector<uint8_t>(white.begin(), white.begin() + 4),
              (std::vector<uint8_t>{255, 255, 255, 255}));
    const std::vector<uint8_t> soft = ReadTexture(dot->textureId, 32, 32);
    EXPECT_EQ(soft[3], 0);
    EXPECT_GT(soft[(16 * 32 + 16) * 4 + 3], 240);

    // Every ASCII code of the font has a glyph, built once however often the font is asked for.
    const Resource::FontSet* font = resources->FindFont(ResourceManager::DEFAULT_FONT);
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->characters.size(), 128u);
    const uint32_t firstTexture = font->characters.at('A').textureId;
    EXPECT_EQ(resources->LoadFont(ResourceManager::DEFAULT_FONT), font);
    EXPECT_EQ(font->characters.at('A').textureId, firstTexture);
    const Resource::Character& space = font->characters.at(' ');
    const Resource::Character& a = font->characters.at('A');
    const Resource::Character& g = font->characters.at('g');
    EXPECT_EQ(space.size[0], 0);
    EXPECT_EQ(space.size[1], 0);
    EXPECT_GT(space.advance, 0u);
    EXPECT_EQ(a.advance, space.advance); // a monospaced font
    // 'A' stands on the baseline; 'g' hangs below it. Both fit a 48-pixel line.
    EXPECT_NEAR(a.bearing[1], a.size[1], 1);
    EXPECT_LT(g.bearing[1], g.size[1]);
    EXPECT_GT(a.size[1], 20);
    EXPECT_LT(a.size[1], 48);

    // Sheet meshes are made once per name; an empty sheet is refused.
    Resource::Mesh2D* walk = resources->GetMesh("walk", 8, 1);
    EXPECT_EQ(resources->GetMesh("walk", 2, 2), walk);
    EXPECT_EQ(walk->columns, 8u);
    EXPECT_EQ(resources->GetMesh("empty", 0, 3), nullptr);
    EXPECT_EQ(resources->FindMesh("empty"), nullptr);
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Failed to Create Mesh"});

    // Destroying a manager deletes every OpenGL object it made.
    auto manager = std::make_unique<ResourceManager>(engine->logger);
    manager->LoadDefaults();
    const GLuint texture = manager->textures.at(ResourceManager::DEFAULT_TEXTURE)->textureId;
    const Resource::Mesh2D* mesh = manager->FindMesh(ResourceManager::DEFAULT_MESH);
    const GLuint vao = mesh->vao, vbo = mesh->vbo;
    const GLuint program = manager->FindShader(ResourceManager::PARTICLE_SHADER)->program;
    const GLuint glyph = manager->FindFont(ResourceManager::DEFAULT_FONT)->characters.at('a').textureId;
    const GLuint textVao = manager->textVao, textVbo = manager->textVbo;
    ASSERT_TRUE(glIsTexture(texture) && glIsProgram(program) && glIsTexture(glyph) &&
                glIsVertexArray(textVao));

    manager.reset();
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_FALSE(glIsVertexArray(vao));
    EXPECT_FALSE(glIsBuffer(vbo));
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsTexture(glyph));
    EXPECT_FALSE(glIsVertexArray(textVao));
    EXPECT_FALSE(glIsBuffer(textVbo));
}

using DroppedFiles = WindowedEngineTest;

TEST_F(DroppedFiles, ShaderStagesLinkWithTheSpriteProgramAndBrokenEditsKeepTheOldProgramAndSayWhy)
{
    ScratchFolder folder{ScratchFolder::ENTER};
    using namespace Resource::BuiltinShaders;
    auto& resources = *engine->resources;
    const std::string vertex = "Resources\\Shaders\\wave.vert";
    folder.Write(vertex, SPRITE_VERTEX);
    resources.ReloadDroppedFile(DROPPED_FILE::SHADER, vertex);
    Resource::Shader* shader = resources.FindShader(vertex);
    ASSERT_NE(shader, nullptr);
    const GLuint first = shader->program;
    ASSERT_NE(first, 0u);
    EXPECT_NE(glGetUniformLocation(first, "tint"), -1); // from the sprite fragment stage

    // The driver's reason follows the line's start.
    folder.Write(vertex, "#version 330 core\nvoid main() { broken }\n");
    resources.ReloadDroppedFile(DROPPED_FILE::SHADER, vertex);
    EXPECT_EQ(shader->program, first);
    const std::string compile = "Error: Failed To Compile Vertex Shader: ";
    ASSERT_EQ(engine->logger.Lines().size(), 1u);
    EXPECT_EQ(engine->logger.Lines()[0].rfind(compile, 0), 0u);
    EXPECT_GT(engine->logger.Lines()[0].size(), compile.size());

    folder.Write(vertex, std::string(SPRITE_VERTEX) + "// edited\n");
    resources.ReloadDroppedFile(DROPPED_FILE::SHADER, vertex);
    EXPECT_EQ(resources.FindShader(vertex), shader);
    EXPECT_NE(shader->program, first);
    EXPECT_FALSE(glIsProgram(first));

    // Both stages compile, but the fragment stage has no main function: a new program stays 0.
    engine->logger.Clear();
    const char* noMain = "#version 330 core\nout vec4 c;\nvoid helper() { c = vec4(1.0); }\n";
    EXPECT_EQ(resources.CreateShader(TEXT_VERTEX, noMain, nullptr, "unlinked")->program, 0u);
    ASSERT_EQ(engine->logger.Lines().size(), 1u);
    EXPECT_EQ(engine->logger.Lines()[0].rfind("Error: Failed To Link Shader Program: ", 0), 0u);
}

} // namespace Varn::Test
