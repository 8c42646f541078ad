// UI text drawn glyph by glyph, read back from the window.
#include "support/DrawingTest.h"

#include "ecs/Camera.h"
#include "ecs/UIText.h"
#include "graphics/Screenshot.h"
#include "graphics/UITextSystem.h"

namespace Varn::Test
{
namespace
{

using ECS::UIText;

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
        text->UseDefaults(engine->services);
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
};

TEST_F(TextDrawing, TextKeepsItsScreenPlaceAtAnyZoomAndTextsWithoutAFontAreSkipped)
{
    const Graphics::Screenshot blank = Picture();
    Text("Go", 100, -200, 3);
    const Graphics::Screenshot zoom1 = Picture();
    ASSERT_NE(zoom1.rgba, blank.rgba) << "the text was drawn";
    CurrentScene().mainCamera->GetComponent<ECS::Camera>()->zoom = 2.0f;
    EXPECT_EQ(Picture().rgba, zoom1.rgba);

    UIText& broken = Text("Lost", -500, 300, 3);
    broken.font = nullptr;
    EXPECT_EQ(Picture().rgba, zoom1.rgba);
}

} // namespace
} // namespace Varn::Test
