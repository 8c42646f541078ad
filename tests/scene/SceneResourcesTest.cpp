#include "resource/ResourceTestSupport.h"
#include "support/DrawingTest.h"

#include "resource/Texture2D.h"
#include "scene/JSONManager.h"

namespace Varn::Test
{

namespace
{
constexpr const char* SPRITE = "Resources\\Sprites\\basicSprite.dds";
constexpr const char* PARTICLE = "Resources\\Sprites\\basicParticleSprite.dds";

// A scene of two sprites that share the texture `file` in Resources/Sprites.
std::string TwoSprites(const std::string& file)
{
    const std::string sprite =
        R"("Transform":{},"Sprite Renderer":{"Texture":"Resources\\Sprites\\)" + file + R"("})";
    return "Audio:Resources\\Sounds\\none.ogg,\n[{\"ID\":\"A\",\"ID Type\":0," + sprite +
           "},{\"ID\":\"B\",\"ID Type\":0," + sprite + "}]";
}
} // namespace

class SceneResources : public Drawing
{
protected:
    Resource::Texture2D* Registered(const std::string& path)
    {
        auto found = engine->resources->textures.find(path);
        return found == engine->resources->textures.end() ? nullptr : found->second.get();
    }
};

TEST_F(SceneResources, ChangingSceneReleasesWhatNoSystemUsesAndReloadingKeepsEverything)
{
    engine->resources->GetTexture("Resources\\Sprites\\extra.dds");
    const std::string first = folder.Write("first.scene", TwoSprites("basicParticleSprite.dds"));
    const std::string second = folder.Write("second.scene", TwoSprites("basicSprite.dds"));

    engine->jsonManager->LoadScene(first, false);
    ASSERT_EQ(engine->resources->textures.size(), 1u);
    Resource::Texture2D* particle = Registered(PARTICLE);
    ASSERT_NE(particle, nullptr);
    EXPECT_NE(particle->textureId, 0u);
    EXPECT_EQ(engine->resources->sounds.size(), 1u) << "the audio line's sound is registered";

    // A released texture comes back as a fresh, empty object.
    Resource::Texture2D* fresh = engine->resources->GetTexture(SPRITE);
    EXPECT_EQ(fresh->textureId, 0u);
    EXPECT_EQ(fresh->pixels, nullptr);

    // The same path again keeps every resource, used or not.
    engine->jsonManager->LoadScene(first, false);
    EXPECT_EQ(Registered(PARTICLE), particle);
    EXPECT_EQ(Registered(SPRITE), fresh);
    EXPECT_EQ(engine->resources->textures.size(), 2u);

    // Another path drops what it does not use and makes what it does ready to draw.
    engine->jsonManager->LoadScene(second, false);
    EXPECT_EQ(Registered(PARTICLE), nullptr);
    ASSERT_EQ(Registered(SPRITE), fresh);
    EXPECT_NE(fresh->textureId, 0u);
    EXPECT_NE(engine->resources->FindMesh(Resource::ResourceManager::DEFAULT_MESH), nullptr);
}

// Damaged images named by sprites each say so, leave their sprites without a picture, and the
// scene plays and draws on.
TEST_F(SceneResources, DamagedImagesFailToLoadAndTheSceneGoesOn)
{
    for (const auto& [name, bytes] : DamagedImages())
    {
        folder.Write("damaged/" + name, bytes);
    }
    engine->jsonManager->LoadScene(folder.Write("damaged.scene", SceneOfDamagedSprites("damaged\\")), false);
    ASSERT_TRUE(CurrentScene().name.ends_with("damaged.scene")) << "the scene itself loads";
    const std::vector<std::string>& lines = engine->logger.Lines();
    for (const auto& [name, bytes] : DamagedImages())
    {
        const std::string failure = "Error: Texture damaged\\" + name + " Failed to Load";
        const auto found = std::find(lines.begin(), lines.end(), failure);
        ASSERT_NE(found, lines.end()) << failure;
        ASSERT_NE(found + 1, lines.end());
        EXPECT_TRUE(found[1].starts_with("Texture damaged\\" + name + ": ")) << found[1];
        EXPECT_EQ(Registered("damaged\\" + name)->textureId, 0u);
    }
    for (int frame = 0; frame < 5; ++frame)
    {
        engine->Update();
        engine->Render();
    }
    EXPECT_EQ(CurrentScene().entities.size(), 4u) << "every sprite is there, without its picture";
}

} // namespace Varn::Test
