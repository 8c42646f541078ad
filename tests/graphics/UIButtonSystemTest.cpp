// Buttons hit-tested against the cursor, step by step.
#include "support/EngineTest.h"

#include "ecs/UIButton.h"
#include "graphics/UIButtonSystem.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"

namespace Varn::Test
{
namespace
{

using ECS::IEntity;
using ECS::UIButton;

class UIButtonSystemTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Screen(true, 1920, 1080); // a 1080p display: one cursor pixel per world unit
        // Without a window the manager makes no meshes; the hit test needs only the cell count.
        engine->resources->meshes[Resource::ResourceManager::DEFAULT_MESH] =
            std::make_unique<Resource::Mesh2D>(1, 1);
        for (auto [name, texture] : {std::pair{"default", &normal}, {"hover", &hover}, {"down", &down}})
        {
            *texture = engine->resources->GetTexture(name);
            (*texture)->width = 200;
            (*texture)->height = 100;
        }
    }

    UIButton& Button(float x, float y)
    {
        IEntity* e = engine->entities->CreateEntity("Button");
        e->AddComponent<ECS::Transform>()->position = {x, y, 0, 0};
        auto* button = e->AddComponent<UIButton>();
        button->UseDefaults(engine->services);
        button->buttonTextureDefault = button->currentTexture = normal;
        button->buttonTextureHover = hover;
        button->buttonTextureDown = down;
        CurrentScene().AddEntity(e);
        CurrentScene().transformSystem->Update(0.0f);
        return *button;
    }

    // Base resolution 1280 x 720, shown windowed or full screen on a display of the given size.
    void Screen(bool fullscreen, int width, int height)
    {
        Window& window = *engine->window;
        window.fullscreen = fullscreen;
        window.viewportX = window.viewportY = 0;
        window.viewportWidth = fullscreen ? width : 1280;
        window.viewportHeight = fullscreen ? height : 720;
        window.scaleX = window.scaleY = static_cast<float>(width) / 1280.0f;
    }

    // One step with the cursor at (x, y) pixels from the picture's centre, y up.
    void Step(int x, int y, bool leftHeld = false)
    {
        const Window& window = *engine->window;
        input->state.cursorX = x + window.viewportWidth / 2;
        input->state.cursorY = window.viewportHeight / 2 - y;
        input->state.keys[UIButtonSystem::LEFT_MOUSE] = leftHeld;
        engine->input->Update();
        CurrentScene().uiButtonSystem->Update(0.0f);
    }

    using UIButtonSystem = Graphics::UIButtonSystem;
    Resource::Texture2D* normal = nullptr;
    Resource::Texture2D* hover = nullptr;
    Resource::Texture2D* down = nullptr;
};

TEST_F(UIButtonSystemTest, CursorHoversStrictlyInsideTheButtonInEitherDisplayMode)
{
    UIButton& button = Button(0, 0);
    Step(99, 0);
    EXPECT_TRUE(button.hovered);
    EXPECT_EQ(button.currentTexture, hover);
    EXPECT_FALSE(button.clicked);
    Step(100, 0);
    EXPECT_FALSE(button.hovered);
    EXPECT_EQ(button.currentTexture, normal);
    Step(-99, -49);
    EXPECT_TRUE(button.hovered);
    Step(0, 50);
    EXPECT_FALSE(button.hovered);

    // The picture shows the 1920-unit view at its own width: 200 units take 267 pixels on a
    // 2560-wide display and 133 in a 1280-wide window.
    Screen(true, 2560, 1440);
    Step(133, 0);
    EXPECT_TRUE(button.hovered);
    Step(134, 0);
    EXPECT_FALSE(button.hovered);
    Screen(false, 2560, 1440);
    Step(66, 33);
    EXPECT_TRUE(button.hovered);
    Step(67, 0);
    EXPECT_FALSE(button.hovered);
    Step(0, 34);
    EXPECT_FALSE(button.hovered);
}

TEST_F(UIButtonSystemTest, PressHoldAndReleaseOverTheButtonAndMovingOffAHeldButtonReleasesIt)
{
    UIButton& button = Button(300, -100);
    Step(310, -90);
    ASSERT_TRUE(button.hovered);

    Step(310, -90, true);
    EXPECT_TRUE(button.clicked);
    EXPECT_TRUE(button.isDown);
    EXPECT_EQ(button.currentTexture, down);
    EXPECT_TRUE(button.hovered) << "left as it was before the press";

    Step(310, -90, true);
    EXPECT_FALSE(button.clicked) << "a click lasts one step";
    EXPECT_TRUE(button.isDown);
    EXPECT_EQ(button.currentTexture, down);

    Step(310, -90);
    EXPECT_FALSE(button.clicked);
    EXPECT_FALSE(button.isDown);
    EXPECT_TRUE(button.hovered);
    EXPECT_EQ(button.currentTexture, hover);

    // Moving off a held button releases it.
    Step(300, -100, true);
    ASSERT_TRUE(button.isDown);
    Step(450, -100, true);
    EXPECT_FALSE(button.isDown);
    EXPECT_FALSE(button.clicked);
    EXPECT_FALSE(button.hovered);
    EXPECT_EQ(button.currentTexture, normal);

    // Pressing beside it and sliding on does not click it.
    Step(300, -100, true);
    EXPECT_FALSE(button.clicked);
    EXPECT_TRUE(button.isDown);
}

} // namespace
} // namespace Varn::Test
