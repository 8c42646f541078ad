// UI text drawn glyph by glyph, read back from the window.
#include "support/DrawingTest.h"

#include "ecs/Camera.h"
#include "ecs/UIText.h"
#include "graphics/Screenshot.h"
#include "graphics/UITextSystem.h"
#include "resource/FontSet.h"

namespace Varn::Test
{
namespace
{

using UIComponent::UIText;

class TextDrawing : public Drawing
{
protected:
    UIText& Text(const std::string& line, float x, float y, float scale)
    {
        IEntity* e = engine->entities->CreateEntity("Text");
        Transform* t = e->AddComponent<Transform>();
        t->position = {x, y, 0, 0};
        t->scale = {scale, scale, 1, 0};
        auto* text = e->AddComponent<UIText>();
        text->text = line;
        CurrentScene().AddEntity(e);
        return *text;
    }

    Graphics::Screenshot Picture()
    {
        Frame();
        CurrentScene().uiTextSystem->Update(0.0f);
        return Graphics::Screenshot::Capture(*engine->window);
    }

    // Lit pixels and the span of columns they cover.
    struct Ink
    {
        int pixels = 0, left = 1 << 30, right = -1;
        int red = 0, green = 0;
    };
    static Ink InkOf(const Graphics::Screenshot& shot)
    {
        Ink ink;
        for (int y = 0; y < shot.height; ++y)
        {
            for (int x = 0; x < shot.width; ++x)
            {
                const auto p = shot.At(x, y);
                if (p[0] + p[1] + p[2] > 0)
                {
                    ++ink.pixels;
                    ink.left = std::min(ink.left, x);
                    ink.right = std::max(ink.right, x);
                    ink.red += p[0];
                    ink.green += p[1];
                }
            }
        }
        return ink;
    }
};

TEST_F(TextDrawing, DefaultFontIsLoadedAtStartUpAndUsedByNewTexts)
{
    const Resource::FontSet* font = engine->resources->FindFont(System::ResourceManager::DEFAULT_FONT);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->characters.size(), 128u);
    EXPECT_EQ(Text("x", 0, 0, 1).font, font);
}

TEST_F(TextDrawing, ByteWithoutAGlyphDrawsNothingAndLeavesNoGap)
{
    UIText& text = Text("AB", -300, 0, 4);
    text.color = {1, 0, 0, 1};
    const Graphics::Screenshot plain = Picture();
    const Ink ink = InkOf(plain);
    ASSERT_GT(ink.pixels, 100);
    EXPECT_GT(ink.red, 0);
    EXPECT_EQ(ink.green, 0) << "drawn in the text's colour";
    // Two glyphs of a 48-pixel font at scale 4: each advance is 116 units, about 19 pixels.
    EXPECT_NEAR(ink.right - ink.left, 34, 6);
    EXPECT_NEAR(ink.left, 160 - 50, 3);

    text.text = std::string("A") + '\x80' + "B";
    EXPECT_EQ(Picture().rgba, plain.rgba);
    EXPECT_EQ(text.font->characters.size(), 128u) << "the font itself is not changed";

    text.text = "A B";
    EXPECT_GT(InkOf(Picture()).right, ink.right + 15) << "a space does take room";
}

TEST_F(TextDrawing, TextKeepsItsScreenPlaceAtAnyZoomAndTextsWithoutAFontAreSkipped)
{
    Text("Go", 100, -200, 3);
    const Graphics::Screenshot zoom1 = Picture();
    CurrentScene().mainCamera->GetComponent<Component::Camera>()->zoom = 2.0f;
    EXPECT_EQ(Picture().rgba, zoom1.rgba);

    UIText& broken = Text("Lost", -500, 300, 3);
    broken.font = nullptr;
    EXPECT_EQ(Picture().rgba, zoom1.rgba);
}

} // namespace
} // namespace Varn::Test
