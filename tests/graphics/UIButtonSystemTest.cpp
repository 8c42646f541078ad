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

// The picture shows the 1920-unit view at its own width: the 200-unit button takes 200 pixels on
// a 1920-wide display, 267 on a 2560-wide one and 133 in a 1280-wide window.
TEST_F(UIButtonSystemTest, CursorHoversStrictlyInsideTheButtonInEitherDisplayMode)
{
    UIButton& button = Button(0, 0);
    struct Case
    {
        bool fullscreen;
        int display, x, y;
        bool hovered;
    };
    for (const Case& c :
         {Case{true, 1920, 99, 0, true}, Case{true, 1920, 100, 0, false}, Case{true, 1920, -99, -49, true},
          Case{true, 1920, 0, 50, false}, Case{true, 2560, 133, 0, true}, Case{true, 2560, 134, 0, false},
          Case{false, 2560, 66, 33, true}, Case{false, 2560, 67, 0, false}, Case{false, 2560, 0, 34, false}})
    {
        Screen(c.fullscreen, c.display, c.display * 9 / 16);
        Step(c.x, c.y);
        SCOPED_TRACE(std::to_string(c.display) + (c.fullscreen ? " full: " : " windowed: ") +
                     std::to_string(c.x) + ", " + std::to_string(c.y));
        EXPECT_EQ(button.hovered, c.hovered);
        EXPECT_EQ(button.currentTexture, c.hovered ? hover : normal);
        EXPECT_FALSE(button.clicked);
    }
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
