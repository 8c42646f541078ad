// UI images and text drawn over the world, read back from the window: they keep their place on
// the screen whatever the camera does.
#include "support/DrawingTest.h"

#include "ecs/Camera.h"
#include "ecs/UIImage.h"
#include "ecs/UIText.h"
#include "graphics/Screenshot.h"
#include "graphics/UIGraphicsSystem.h"
#include "graphics/UITextSystem.h"

#include <tuple>

namespace Varn::Test
{
namespace
{

using RGB = std::array<int, 3>;

class UIDrawing : public Drawing
{
protected:
    // A UI element C at (x, y, z) scaled by `scale`, with the defaults a scene file's block starts with.
    template <typename C> C& Element(float x, float y, float z, float scale)
    {
        IEntity* e = engine->entities->CreateEntity("Element");
        Transform* t = e->AddComponent<Transform>();
        t->position = {x, y, z, 0};
        t->scale = {scale, scale, 1, 0};
        auto* element = e->AddComponent<C>();
        element->UseDefaults(engine->services);
        CurrentScene().AddEntity(e);
        return *element;
    }

    ECS::Camera& MainCamera() { return *CurrentScene().mainCamera->GetComponent<ECS::Camera>(); }

    // A frame with the UI drawn over the world.
    std::vector<uint8_t> UIFrame()
    {
        Frame();
        CurrentScene().uiGraphicsSystem->Update(0.0f);
        CurrentScene().uiTextSystem->Update(0.0f);
        return Graphics::Screenshot::Capture(*engine->window).rgba;
    }
};

TEST_F(UIDrawing, ImageKeepsItsScreenPlaceAndSizeAtAnyZoomWhilePlaying)
{
    Element<ECS::UIImage>(300, 120, 0, 3).tint = {1, 0, 0, 1}; // 96 units wide
    // As the scene starts, then zoomed in on another place.
    for (const auto& [zoom, x, y] : {std::tuple{1.0f, 0.0f, 0.0f}, std::tuple{2.0f, 500.0f, -200.0f}})
    {
        MainCamera().zoom = zoom;
        CurrentScene().mainCamera->GetComponent<Transform>()->position = {x, y, 0, 0};
        UIFrame();
        EXPECT_EQ(At(300, 120), (RGB{255, 0, 0})) << zoom;
        EXPECT_EQ(At(300 + 42, 120 + 42), (RGB{255, 0, 0})) << zoom;
        EXPECT_EQ(At(300 + 54, 120), (RGB{0, 0, 0})) << zoom;
        EXPECT_EQ(At(300, 120 - 54), (RGB{0, 0, 0})) << zoom;
    }
    EXPECT_EQ(CurrentScene().mainCamera->GetComponent<Transform>()->worldMatrix.m[0][3], 500.0f);
}

TEST_F(UIDrawing, TextKeepsItsScreenPlaceAtAnyZoomAndTextsWithoutAFontAreSkipped)
{
    const std::vector<uint8_t> blank = UIFrame();
    Element<ECS::UIText>(100, -200, 0, 3).text = "Go";
    const std::vector<uint8_t> zoom1 = UIFrame();
    ASSERT_NE(zoom1, blank) << "the text was drawn";
    MainCamera().zoom = 2.0f;
    EXPECT_EQ(UIFrame(), zoom1);

    ECS::UIText& broken = Element<ECS::UIText>(-500, 300, 0, 3);
    broken.text = "Lost";
    broken.font = nullptr;
    EXPECT_EQ(UIFrame(), zoom1);
}

} // namespace
} // namespace Varn::Test
