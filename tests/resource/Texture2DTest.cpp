// Decoding (any thread, no OpenGL) and uploading (premultiplied, compressed where offered).
#include "resource/Texture2D.h"
#include "resource/ResourceTestSupport.h"

#include <cstring>
#include <future>

namespace Varn::Test
{
namespace
{
bool ContextListsS3TC()
{
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i)
    {
        if (std::strcmp(reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, GLuint(i))),
                        "GL_EXT_texture_compression_s3tc") == 0)
        {
            return true;
        }
    }
    return false;
}

GLint TextureParameter(GLuint texture, GLenum name)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

// Compressed uploads are lossy by a few steps per channel; premultiplying halves values here.
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

TEST_F(TextureLoading, MissingFileLogsAndStaysWithoutTexture)
{
    Resource::Texture2D* texture = Loaded("Resources\\Sprites\\absent.dds");
    EXPECT_EQ(texture->pixels, nullptr);
    EXPECT_EQ(engine->logger.Lines(),
              std::vector<std::string>{"Error: Texture Resources\\Sprites\\absent.dds Failed to Load"});
    texture->Upload();
    EXPECT_EQ(texture->textureId, 0u);
}

TEST_F(TextureLoading, UploadPremultipliesAlphaClampsFiltersLinearlyAndFreesThePixels)
{
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 16; ++i)
    {
        rgba.insert(rgba.end(), {200, 100, 50, 128});
    }
    folder.Write("Resources/Sprites/half.tga", Tga(4, 4, 4, rgba));
    Resource::Texture2D* texture = Loaded("Resources\\Sprites\\half.tga");
    ASSERT_NE(texture->pixels, nullptr);
    EXPECT_EQ(texture->width, 4);
    EXPECT_EQ(texture->height, 4);
    EXPECT_EQ(texture->channels, 4);
    EXPECT_EQ(texture->pixels[0], 200); // decoding alone changes nothing

    texture->Upload();
    ASSERT_NE(texture->textureId, 0u);
    EXPECT_EQ(texture->pixels, nullptr);
    ExpectTexel(ReadTexture(texture->textureId, 4, 4), 5, 100, 50, 25, 128);
    EXPECT_EQ(TextureParameter(texture->textureId, GL_TEXTURE_MIN_FILTER), GLint(GL_LINEAR));
    EXPECT_EQ(TextureParameter(texture->textureId, GL_TEXTURE_MAG_FILTER), GLint(GL_LINEAR));
    EXPECT_EQ(TextureParameter(texture->textureId, GL_TEXTURE_WRAP_S), GLint(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(TextureParameter(texture->textureId, GL_TEXTURE_WRAP_T), GLint(GL_CLAMP_TO_EDGE));
    GLint compressed = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED, &compressed);
    EXPECT_EQ(compressed != 0, ContextListsS3TC());

    // Uploaded: neither call makes a second texture or decodes again.
    const uint32_t id = texture->textureId;
    texture->Load();
    texture->Upload();
    EXPECT_EQ(texture->pixels, nullptr);
    EXPECT_EQ(texture->textureId, id);
    EXPECT_TRUE(engine->logger.Lines().empty());
}

TEST_F(TextureLoading, GreyImagesSampleAsLuminanceAndOddRgbRowsStayAligned)
{
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
}

TEST_F(TextureLoading, DecodingAgainBeforeUploadReplacesTheEarlierPixels)
{
    folder.Write("Resources/a.tga", Tga(1, 1, 3, {1, 2, 3}));
    Resource::Texture2D* texture = Loaded("Resources/a.tga");
    folder.Write("Resources/a.tga", Tga(2, 1, 4, {9, 9, 9, 255, 9, 9, 9, 255}));
    texture->Load();
    EXPECT_EQ(texture->width, 2);
    EXPECT_EQ(texture->channels, 4);

    folder.Remove("Resources/a.tga");
    texture->Load();
    EXPECT_EQ(texture->pixels, nullptr);
    EXPECT_EQ(texture->width, 0);
}

TEST_F(TextureLoading, WorkerThreadsDecodeAndLogSideBySide)
{
    // Every other texture has a file; the rest log from whichever worker decodes them.
    std::vector<Resource::Texture2D*> textures;
    for (int i = 0; i < 12; ++i)
    {
        const std::string path = "Resources/t" + std::to_string(i) + ".tga";
        if (i % 2 == 0)
        {
            folder.Write(path, Tga(2, 2, 3, std::vector<uint8_t>(12, 7)));
        }
        textures.push_back(engine->resources->GetTexture(path));
    }
    std::vector<std::future<void>> tasks;
    for (int worker = 0; worker < 3; ++worker)
    {
        tasks.push_back(std::async(std::launch::async,
                                   [&textures, worker]()
                                   {
                                       for (std::size_t i = std::size_t(worker); i < textures.size(); i += 3)
                                       {
                                           textures[i]->Load();
                                       }
                                   }));
    }
    for (auto& task : tasks)
    {
        task.get();
    }

    EXPECT_EQ(engine->logger.Lines().size(), 6u);
    for (std::size_t i = 0; i < textures.size(); i += 2)
    {
        EXPECT_EQ(textures[i]->width, 2);
        textures[i]->Upload();
        EXPECT_NE(textures[i]->textureId, 0u);
    }
}

} // namespace Varn::Test
