// UI images drawn over the world, read back from the window.
#include "support/DrawingTest.h"

#include "ecs/Camera.h"
#include "ecs/UIImage.h"
#include "graphics/UIGraphicsSystem.h"

#include <tuple>

namespace Varn::Test
{
namespace
{

using RGB = std::array<int, 3>;
using ECS::UIImage;

class UIDrawing : public Drawing
{
protected:
    // A white square image `size` world units wide, tinted.
    UIImage& Image(float x, float y, float z, float size, VarnColor tint)
    {
        IEntity* e = engine->entities->CreateEntity("Image");
        Transform* t = e->AddComponent<Transform>();
        t->position = {x, y, z, 0};
        t->scale = {size / 32.0f, size / 32.0f, 1, 0};
        auto* image = e->AddComponent<UIImage>();
        image->UseDefaults(engine->services);
        image->tint = tint;
        CurrentScene().AddEntity(e);
        return *image;
    }

    ECS::Camera& MainCamera() { return *CurrentScene().mainCamera->GetComponent<ECS::Camera>(); }
    Transform& CameraPlace() { return *CurrentScene().mainCamera->GetComponent<Transform>(); }

    void UIFrame()
    {
        Frame();
        CurrentScene().uiGraphicsSystem->Update(0.0f);
    }
};

TEST_F(UIDrawing, ImageKeepsItsScreenPlaceAndSizeAtAnyZoomWhilePlaying)
{
    Image(300, 120, 0, 96, {1, 0, 0, 1});
    // As the scene starts, then zoomed in on another place.
    for (const auto& [zoom, x, y] : {std::tuple{1.0f, 0.0f, 0.0f}, std::tuple{2.0f, 500.0f, -200.0f}})
    {
        MainCamera().zoom = zoom;
        CameraPlace().position = {x, y, 0, 0};
        UIFrame();
        EXPECT_EQ(At(300, 120), (RGB{255, 0, 0})) << zoom;
        EXPECT_EQ(At(300 + 42, 120 + 42), (RGB{255, 0, 0})) << zoom;
        EXPECT_EQ(At(300 + 54, 120), (RGB{0, 0, 0})) << zoom;
        EXPECT_EQ(At(300, 120 - 54), (RGB{0, 0, 0})) << zoom;
    }
    EXPECT_EQ(CurrentScene().mainCamera->GetComponent<Transform>()->worldMatrix.m[0][3], 500.0f);
}

} // namespace
} // namespace Varn::Test
