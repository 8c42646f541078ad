// Components are plain data until they are given the engine's defaults, and a sprite's extent
// has one formula, which physics and graphics both write.
#include "support/EngineTest.h"

#include "core/Window.h"
#include "ecs/Camera.h"
#include "ecs/SpriteRenderer.h"
#include "ecs/UIButton.h"
#include "resource/Mesh2D.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"

namespace Varn::Test
{

using ComponentDefaults = EngineTest;

TEST_F(ComponentDefaults, PlainComponentsHoldNoResourceUntilTheyAreGivenTheDefaults)
{
    ECS::SpriteRenderer sprite;
    ECS::UIButton button;
    ECS::Camera camera;
    EXPECT_EQ(sprite.texture, nullptr);
    EXPECT_EQ(button.currentTexture, nullptr);
    EXPECT_EQ(camera.projection, ECS::Camera::ColumnMatrix{});

    sprite.UseDefaults(engine->services);
    button.UseDefaults(engine->services);
    camera.UseDefaults(engine->services);
    const Resource::Texture2D* white =
        engine->resources->GetTexture(Resource::ResourceManager::DEFAULT_TEXTURE);
    EXPECT_EQ(sprite.texture, white);
    EXPECT_EQ(button.buttonTextureHover, white);
    EXPECT_EQ(button.currentTexture, white) << "a button starts showing its default texture";
    const float w = static_cast<float>(engine->window->viewportWidth);
    const float h = static_cast<float>(engine->window->viewportHeight);
    EXPECT_EQ(camera.projection, ECS::Camera::Orthographic(-w / 2, w / 2, -h / 2, h / 2));
}

TEST_F(ComponentDefaults, ASheetCellsExtentIsDividedBeforeItIsScaled)
{
    Resource::Texture2D sheet{engine->logger};
    sheet.width = 100;
    sheet.height = 40;
    Resource::Mesh2D cells(3, 2);
    ECS::SpriteRenderer sprite;
    sprite.texture = &sheet;
    sprite.mesh = &cells;

    const std::optional<Vector4> extent = sprite.Extent({0.9f, 0.7f, 1.0f, 0.0f});
    ASSERT_TRUE(extent.has_value());
    // Scaling first would give exactly 30; the colliders have always been 29.9999981 wide.
    EXPECT_EQ(extent->x, 100.0f / 3.0f * 0.9f);
    EXPECT_NE(extent->x, 100.0f * 0.9f / 3.0f);
    EXPECT_EQ(extent->y, 40.0f / 2.0f * 0.7f);
    EXPECT_EQ(extent->z, 0.0f);

    sprite.mesh = nullptr;
    EXPECT_FALSE(sprite.Extent({1, 1, 1, 0}).has_value()) << "nothing to size without a mesh";
}

} // namespace Varn::Test
