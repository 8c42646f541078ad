// Decoding (any thread, no OpenGL) and uploading (premultiplied).
#include "resource/Texture2D.h"
#include "graphics/Screenshot.h"
#include "resource/ResourceTestSupport.h"
#include "resource/TextureBatch.h"

#include <cstring>
#include <thread>

namespace Varn::Test
{
namespace
{
// Premultiplying rounds: allow a few steps per channel.
void ExpectTexel(const std::vector<uint8_t>& rgba, std::size_t pixel, int r, int g, int b, int a)
{
    EXPECT_NEAR(rgba[pixel * 4 + 0], r, 5) << "pixel " << pixel;
    EXPECT_NEAR(rgba[pixel * 4 + 1], g, 5) << "pixel " << pixel;
    EXPECT_NEAR(rgba[pixel * 4 + 2], b, 5) << "pixel " << pixel;
    EXPECT_EQ(rgba[pixel * 4 + 3], a) << "pixel " << pixel;
}

} // namespace

class TextureLoading : public WindowedEngineTest
{
protected:
    // A texture read from `relative` (back slashes allowed) in the scratch folder.
    Resource::Texture2D* Loaded(const std::string& relative)
    {
        Resource::Texture2D* texture = engine->resources->GetTexture(relative);
        texture->Load();
        return texture;
    }

    ScratchFolder folder{ScratchFolder::ENTER};
};

TEST_F(TextureLoading, EachChannelCountUploadsPremultipliedAndFreesItsPixelsAndAMissingFileStaysWithoutTexture)
{
    Resource::Texture2D* absent = Loaded("Resources\\Sprites\\absent.dds");
    EXPECT_EQ(absent->pixels, nullptr);
    EXPECT_EQ(engine->logger.Lines(),
              std::vector<std::string>{"Error: Texture Resources\\Sprites\\absent.dds Failed to Load"});
    absent->Upload();
    EXPECT_EQ(absent->textureId, 0u);
    engine->logger.Clear();

    std::vector<uint8_t> rgba;
    for (int i = 0; i < 16; ++i)
    {
        rgba.insert(rgba.end(), {200, 100, 50, 128});
    }
    folder.Write("Resources/Sprites/half.tga", Tga(4, 4, 4, rgba));
    Resource::Texture2D* texture = Loaded("Resources\\Sprites\\half.tga");
    ASSERT_NE(texture->pixels, nullptr);
    ASSERT_TRUE(texture->width == 4 && texture->height == 4);
    EXPECT_EQ(texture->pixels[0], 200); // decoding alone changes nothing

    texture->Upload();
    ASSERT_NE(texture->textureId, 0u);
    EXPECT_EQ(texture->pixels, nullptr);
    ExpectTexel(ReadTexture(texture->textureId, 4, 4), 5, 100, 50, 25, 128);

    // Uploaded: neither call makes a second texture or decodes again.
    const uint32_t id = texture->textureId;
    texture->Load();
    texture->Upload();
    EXPECT_EQ(texture->pixels, nullptr);
    EXPECT_EQ(texture->textureId, id);

    // Grey, grey and alpha, and rows of an odd length.
    folder.Write("grey.tga", Tga(1, 1, 1, {128}));
    folder.Write("greyAlpha.tga", Tga(1, 1, 2, {200, 128}));
    // Three pixels of three bytes: rows are 9 bytes long, not a multiple of four.
    folder.Write("stripes.tga",
                 Tga(3, 2, 3, {255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255}));
    Resource::Texture2D* grey = Loaded("grey.tga");
    Resource::Texture2D* greyAlpha = Loaded("greyAlpha.tga");
    Resource::Texture2D* stripes = Loaded("stripes.tga");
    EXPECT_EQ(grey->channels, 1);
    EXPECT_EQ(greyAlpha->channels, 2);
    EXPECT_EQ(stripes->channels, 3);
    for (Resource::Texture2D* texture : {grey, greyAlpha, stripes})
    {
        texture->Upload();
    }

    ExpectTexel(ReadTexture(grey->textureId, 1, 1), 0, 128, 128, 128, 255);
    ExpectTexel(ReadTexture(greyAlpha->textureId, 1, 1), 0, 100, 100, 100, 128);
    const std::vector<uint8_t> rows = ReadTexture(stripes->textureId, 3, 2);
    for (std::size_t pixel = 0; pixel < 3; ++pixel)
    {
        ExpectTexel(rows, pixel, 255, 0, 0, 255);
        ExpectTexel(rows, pixel + 3, 0, 0, 255, 255);
    }

    EXPECT_TRUE(engine->logger.Lines().empty());
}

// PNG files are compressed; decoding several at once on the scene loader's threads must give
// each its own pixels, however the decodes overlap (and must not bring the process down).
TEST_F(TextureLoading, PngFilesDecodedOnSeveralThreadsAtOnceComeOutWhole)
{
    std::vector<Resource::Texture2D*> textures;
    std::vector<std::vector<uint8_t>> expected;
    uint32_t noise = 12345;
    for (int i = 0; i < 16; ++i)
    {
        Graphics::Screenshot image;
        image.width = 96 + 8 * i;
        image.height = 64;
        image.rgba.resize(static_cast<std::size_t>(image.width * image.height * 4));
        for (std::size_t k = 0; k < image.rgba.size(); ++k)
        {
            noise = noise * 1664525u + 1013904223u;
            // Opaque, so that the decoded bytes are the written ones; runs and noise mixed.
            image.rgba[k] = k % 4 == 3 ? 255 : static_cast<uint8_t>((k / 64) % 3 == 0 ? noise >> 24 : k / 97);
        }
        const std::string path = "png" + std::to_string(i) + ".png";
        ASSERT_TRUE(image.SavePng(folder.Path(path)));
        textures.push_back(engine->resources->GetTexture(path));
        expected.push_back(image.rgba);
    }
    for (int round = 0; round < 30; ++round)
    {
        std::vector<std::thread> threads;
        for (std::size_t worker = 0; worker < 4; ++worker)
        {
            threads.emplace_back(
                [&textures, worker]
                {
                    for (std::size_t i = worker; i < textures.size(); i += 4)
                    {
                        textures[i]->Load();
                    }
                });
        }
        for (std::thread& thread : threads)
        {
            thread.join();
        }
        for (std::size_t i = 0; i < textures.size(); ++i)
        {
            ASSERT_NE(textures[i]->pixels, nullptr) << "texture " << i << ", round " << round;
            ASSERT_EQ(textures[i]->channels, 4);
            ASSERT_EQ(0, std::memcmp(textures[i]->pixels.get(), expected[i].data(), expected[i].size()))
                << "texture " << i << ", round " << round;
        }
    }
    EXPECT_TRUE(engine->logger.Lines().empty());
}

TEST_F(TextureLoading, ABatchDecodesItsShareOnePieceAtATimeThenUploadsEachAndHoldsItsClaimMeanwhile)
{
    std::vector<Resource::Texture2D*> textures;
    for (int i = 0; i < 6; ++i)
    {
        std::string path = "t"; // built in two steps: "t" + std::string trips a false -Wrestrict
        path += std::to_string(i) + ".tga";
        folder.Write(path, Tga(2, 2, 4, std::vector<uint8_t>(16, static_cast<uint8_t>(40 * i))));
        textures.push_back(engine->resources->GetTexture(path));
    }
    std::vector<std::pair<std::string, bool>> pieces;
    {
        Resource::TextureBatch batch(textures, engine->workers);
        EXPECT_TRUE(textures[0]->claimed);
        // While claimed, a script's inline load leaves the texture to the batch: it neither
        // decodes nor uploads it under the workers.
        EXPECT_EQ(engine->resources->LoadTexture("t5.tga"), textures[5]);
        EXPECT_EQ(textures[5]->textureId, 0u);
        EXPECT_EQ(textures[5]->pixels, nullptr);
        bool uploaded = false;
        while (const Resource::Texture2D* texture = batch.Next(uploaded))
        {
            pieces.emplace_back(texture->name, uploaded);
        }
    }
    // Six textures: the workers take the first four, this thread the last two, then six uploads.
    const std::vector<std::pair<std::string, bool>> expected = {
        {"t4.tga", false}, {"t5.tga", false}, {"t0.tga", true}, {"t1.tga", true},
        {"t2.tga", true},  {"t3.tga", true},  {"t4.tga", true}, {"t5.tga", true}};
    EXPECT_EQ(pieces, expected);
    for (const Resource::Texture2D* texture : textures)
    {
        EXPECT_NE(texture->textureId, 0u) << texture->name;
        EXPECT_FALSE(texture->claimed) << texture->name;
    }
    EXPECT_TRUE(engine->logger.Lines().empty());
}

} // namespace Varn::Test
