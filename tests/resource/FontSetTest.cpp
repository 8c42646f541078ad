// Glyph sets rasterised from the repository's default font.
#include "resource/FontSet.h"
#include "resource/ResourceTestSupport.h"

namespace Varn::Test
{
namespace
{
const std::string FONT = std::string(CORVALUNE_SOURCE_DIR) + "/Resources/Fonts/FiraCode-Regular.ttf";
}

using FontLoading = WindowedEngineTest;

TEST_F(FontLoading, EveryAsciiCodeGetsAGlyphWithItsBitmapAndMetrics)
{
    const Resource::FontSet* font = engine->resources->LoadFont(FONT);
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->characters.size(), 128u);
    const uint32_t firstTexture = font->characters.at('A').textureId;
    EXPECT_EQ(engine->resources->LoadFont(FONT), font);
    EXPECT_EQ(font->characters.at('A').textureId, firstTexture)
        << "built once: the glyphs are not made again";

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
}

TEST_F(FontLoading, UnreadableFontLogsFaceFailureAndRegistersNothing)
{
    ScratchFolder folder{ScratchFolder::ENTER};
    folder.Write("Resources/Fonts/text.ttf", "not a font");
    EXPECT_EQ(engine->resources->LoadFont("Resources\\Fonts\\text.ttf"), nullptr);
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Failed To Create FT Face"});
    EXPECT_TRUE(engine->resources->fonts.empty());

    // Nothing was registered, so the file loads once it is a font.
    std::filesystem::copy_file(FONT, folder.root / "Resources/Fonts/text.ttf",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_NE(engine->resources->LoadFont("Resources\\Fonts\\text.ttf"), nullptr);
}

} // namespace Varn::Test
