// UI images and buttons drawn over the world, read back from the window.
#include "support/DrawingTest.h"

#include "ecs/Camera.h"
#include "ecs/UIButton.h"
#include "ecs/UIImage.h"
#include "graphics/UIGraphicsSystem.h"

namespace Varn::Test
{
namespace
{

using RGB = std::array<int, 3>;
using UIComponent::UIImage;

class UIDrawing : public Drawing
{
protected:
    // A white square image `size` world units wide, tinted.
    UIImage& Image(float x, float y, float z, float size, Helper::VarnColor tint)
    {
        IEntity* e = engine->entities->CreateEntity("Image");
        Transform* t = e->AddComponent<Transform>();
        t->position = {x, y, z, 0};
        t->scale = {size / 32.0f, size / 32.0f, 1, 0};
        auto* image = e->AddComponent<UIImage>();
        image->tint = tint;
        CurrentScene().AddEntity(e);
        return *image;
    }

    Component::Camera& MainCamera() { return *CurrentScene().mainCamera->GetComponent<Component::Camera>(); }
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
    UIFrame();
    EXPECT_EQ(At(300, 120), (RGB{255, 0, 0}));
    EXPECT_EQ(At(300 + 42, 120 + 42), (RGB{255, 0, 0}));
    EXPECT_EQ(At(300 + 54, 120), (RGB{0, 0, 0}));
    EXPECT_EQ(At(300, 120 - 54), (RGB{0, 0, 0}));

    MainCamera().zoom = 2.0f;
    CameraPlace().position = {500, -200, 0, 0};
    UIFrame();
    EXPECT_EQ(At(300, 120), (RGB{255, 0, 0}));
    EXPECT_EQ(At(300 + 42, 120 + 42), (RGB{255, 0, 0}));
    EXPECT_EQ(At(300 + 54, 120), (RGB{0, 0, 0}));
    EXPECT_EQ(At(300, 120 - 54), (RGB{0, 0, 0}));
    EXPECT_EQ(CurrentScene().mainCamera->GetComponent<Transform>()->worldMatrix.m[0][3], 500.0f);
}

TEST_F(UIDrawing, ImageMovesWithTheCameraWhenNotPlaying)
{
    UIImage& image = Image(300, 0, 0, 96, {0, 1, 0, 1});
    CurrentScene().playing = false;
    MainCamera().startPosition = {100, 0, 0, 0};
    CameraPlace().position = {700, 0, 0, 0}; // 600 right of where it started
    UIFrame();
    EXPECT_EQ(At(300, 0), (RGB{0, 0, 0}));
    EXPECT_EQ(At(-300, 0), (RGB{0, 255, 0}));
    const Math::Vector4 size = image.owner->GetComponent<Transform>()->worldScale;
    EXPECT_EQ(size, (Math::Vector4{96, 96, 0, 0}));

    CurrentScene().playing = true;
    UIFrame();
    EXPECT_EQ(At(300, 0), (RGB{0, 255, 0}));
}

TEST_F(UIDrawing, HigherZIsDrawnInFrontAndInactiveElementsAreNotDrawn)
{
    Image(0, 0, 5, 120, {1, 0, 0, 1});
    Image(30, 0, 1, 120, {0, 0, 1, 1});
    UIImage& hidden = Image(-300, 0, 9, 60, {0, 1, 0, 1});
    hidden.owner->gameObjectActive = false;
    Sprite(-300, 0, 0, 60, 0, {1, 1, 1, 1}); // the world below, white
    UIFrame();
    EXPECT_EQ(At(12, 0), (RGB{255, 0, 0}));
    EXPECT_EQ(At(72, 0), (RGB{0, 0, 255}));
    EXPECT_EQ(At(-300, 0), (RGB{255, 255, 255}));
    const auto& order = CurrentScene().uiGraphicsSystem->Entities();
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0]->GetComponent<Transform>()->position.z, 1.0f) << "the working set is left sorted by z";
}

TEST_F(UIDrawing, ButtonShowsItsCurrentTextureOverTheWorld)
{
    Sprite(0, 0, 0, 600, 0, {0, 0, 1, 1});
    IEntity* e = engine->entities->CreateEntity("Button");
    e->AddComponent<Transform>()->position = {-120, 60, 0, 0};
    auto* button = e->AddComponent<UIComponent::UIButton>();
    button->opacity = 0.5f;
    CurrentScene().AddEntity(e);
    UIFrame();
    const RGB blended = At(-120, 60);
    EXPECT_NEAR(blended[0], 128, 2) << "half-opaque white over blue";
    EXPECT_NEAR(blended[2], 255, 2);
    EXPECT_EQ(At(-120 + 30, 60), (RGB{0, 0, 255})) << "32 units wide at scale 1";
    EXPECT_EQ(e->GetComponent<Transform>()->worldScale, (Math::Vector4{32, 32, 0, 0}));
}

} // namespace
} // namespace Varn::Test
