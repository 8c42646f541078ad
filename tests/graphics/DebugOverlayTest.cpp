// The debug overlay: hidden it makes nothing; shown (F3) it outlines solid colliders, trigger
// areas and the rays cast since the last frame in their colours, and lists the frame's numbers
// and the last log lines in the picture's top-left corner.
#include "support/DrawingTest.h"

#include "ecs/BoxCollider2D.h"
#include "ecs/CircleCollider2D.h"
#include "graphics/DebugOverlay.h"
#include "physics/PhysicsSystem.h"
#include "physics/Raycast.h"

#include <SDL.h>

#include <cstdlib>

namespace Varn::Test
{

namespace
{
// A pixel of `colour`, give or take the driver's rounding.
bool Matches(const std::array<int, 3>& pixel, const VarnColor& colour)
{
    const float channels[3] = {colour.r, colour.g, colour.b};
    for (int i = 0; i < 3; ++i)
    {
        if (std::abs(pixel[i] - static_cast<int>(channels[i] * 255.0f)) > 2)
        {
            return false;
        }
    }
    return true;
}

void PressF3(Window& window)
{
    SDL_Event f3{};
    f3.type = SDL_KEYDOWN;
    f3.key.keysym.scancode = SDL_SCANCODE_F3;
    window.HandleEvent(f3);
}
} // namespace

// A full-size window, so the overlay's text leaves most of the picture free.
class DebugOverlayDrawing : public Drawing
{
protected:
    void SetUp() override { Open("[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=1280\n"); }
};

TEST_F(DebugOverlayDrawing, OutlinesCollidersTriggersAndRaysAndListsTheNumbersAndTheLastLogLines)
{
    auto make = [&](Vector4 at, Vector4 size)
    {
        IEntity* e = engine->entities->CreateEntity();
        Transform* t = e->AddComponent<Transform>();
        t->position = at;
        t->scale = size;
        return e;
    };
    IEntity* box = make({0, -200, 0, 0}, {600, 300, 1, 0});
    box->AddComponent<ECS::BoxCollider2D>();
    CurrentScene().AddEntity(box);
    IEntity* ring = make({600, -200, 0, 0}, {300, 300, 1, 0});
    ring->AddComponent<ECS::CircleCollider2D>()->isTrigger = true;
    CurrentScene().AddEntity(ring);
    IEntity* eye = make({-800, -400, 0, 0}, {1, 1, 1, 0});
    CurrentScene().AddEntity(eye);

    // Near a point, the pixels of a one-pixel line that may land a pixel or two either side of it
    // (a circle is drawn as 24 chords).
    auto near = [&](float x, float y, const VarnColor& colour)
    {
        for (const float dx : {-3.0f, -1.5f, 0.0f, 1.5f, 3.0f}) // a pixel is 1.5 world units here
        {
            for (const float dy : {-3.0f, -1.5f, 0.0f, 1.5f, 3.0f})
            {
                if (Matches(At(x + dx, y + dy), colour))
                {
                    return true;
                }
            }
        }
        return false;
    };

    // White pixels in the picture's top-left corner, where the overlay writes.
    auto whiteIn = [&](int fromX, int toX)
    {
        const Window& w = *engine->window;
        std::vector<uint8_t> rgba(static_cast<std::size_t>(w.viewportWidth) * 24 * 4);
        glReadPixels(w.viewportX, w.viewportY + w.viewportHeight - 24, w.viewportWidth, 24, GL_RGBA,
                     GL_UNSIGNED_BYTE, rgba.data());
        int count = 0;
        for (int row = 0; row < 24; ++row)
        {
            for (int x = fromX; x < toX; ++x)
            {
                const uint8_t* p = &rgba[(static_cast<std::size_t>(row) * w.viewportWidth + x) * 4];
                count += p[0] == 255 && p[1] == 255 && p[2] == 255 ? 1 : 0;
            }
        }
        return count;
    };
    CurrentScene().transformSystem->UpdateAll();
    CurrentScene().physicsSystem->Update(1.0f / 60.0f); // sizes the colliders, as every step does
    Frame();
    engine->Render();
    EXPECT_FALSE(near(-300, -200, Graphics::DebugOverlay::SOLID));
    EXPECT_EQ(whiteIn(0, 100), 0);
    EXPECT_EQ(engine->resources->FindShader(Graphics::DebugOverlay::LINE_SHADER), nullptr)
        << "a hidden overlay makes nothing";
    EXPECT_FALSE(CurrentScene().physicsSystem->recordRays);

    PressF3(*engine->window);
    Vector4 hit;
    IEntity* hitEntity = nullptr;
    Physics::Raycast(engine->services, eye, {1000, 0, 0, 0}, hit, hitEntity, "");
    engine->logger.Log("hello overlay");
    Frame();
    engine->Render();
    EXPECT_TRUE(near(-300, -200, Graphics::DebugOverlay::SOLID)) << "the box's left side";
    EXPECT_TRUE(near(750, -200, Graphics::DebugOverlay::TRIGGER)) << "the trigger circle's right edge";
    EXPECT_TRUE(near(-500, -400, Graphics::DebugOverlay::RAY)) << "the ray's middle";
    EXPECT_TRUE(CurrentScene().physicsSystem->castRays.empty()) << "drawn once, then forgotten";

    EXPECT_GT(whiteIn(0, 100), 20);

    const std::vector<std::string> text = engine->overlay->Text(engine->OverlayStats());
    ASSERT_GE(text.size(), 3u);
    const std::string entities = std::to_string(CurrentScene().entities.size()) + " entities";
    EXPECT_NE(text[0].find(entities), std::string::npos) << text[0];
    EXPECT_NE(text[1].find("physics "), std::string::npos) << text[1];
    EXPECT_EQ(text.back(), "> hello overlay");

    PressF3(*engine->window);
    EXPECT_FALSE(engine->overlay->Visible());
    EXPECT_FALSE(CurrentScene().physicsSystem->recordRays);
}

} // namespace Varn::Test
