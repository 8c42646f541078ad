#include "support/EngineTest.h"

#include "ecs/Camera.h"
#include "graphics/CameraSystem.h"

namespace Varn::Test
{

using ECS::Camera;
using ECS::Transform;

class CameraFraming : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        entity = CurrentScene().mainCamera;
        transform = entity->GetComponent<Transform>();
        camera = entity->GetComponent<Camera>();
    }

    void Step()
    {
        CurrentScene().transformSystem->UpdateAll();
        CurrentScene().cameraSystem->Update(0.0f);
    }

    // Applies a column-major matrix to a point.
    static std::array<float, 4> Apply(const Camera::ColumnMatrix& m, float x, float y, float z)
    {
        std::array<float, 4> r{};
        for (int row = 0; row < 4; ++row)
        {
            r[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
        }
        return r;
    }

    ECS::IEntity* entity = nullptr;
    Transform* transform = nullptr;
    Camera* camera = nullptr;
};

TEST_F(CameraFraming, MatricesMapTheVisibleRectangleOntoClipSpaceAndZeroZoomFramesNothing)
{
    transform->position = {300, -200, 1, 0};
    camera->zoom = 0.5f;
    camera->startZoom = 1.0f;
    camera->startPosition = {100, 0, 0, 0};
    Step();
    // The top-right corner of the visible rectangle lands on clip (1, 1).
    const auto view = Apply(camera->view, camera->viewRight, camera->viewTop, 1.0f);
    const auto clip = Apply(camera->projection, view[0], view[1], view[2]);
    EXPECT_FLOAT_EQ(clip[0], 1.0f);
    EXPECT_FLOAT_EQ(clip[1], 1.0f);
    EXPECT_FLOAT_EQ(clip[3], 1.0f);
    // The start view frames the world relative to the start position, at the start zoom.
    const auto startView = Apply(camera->startView, 200.0f + 960.0f, -200.0f, 0.0f);
    const auto startClip = Apply(camera->startProjection, startView[0], startView[1], startView[2]);
    EXPECT_FLOAT_EQ(startClip[0], 1.0f);
    EXPECT_FLOAT_EQ(startClip[1], 0.0f);
    EXPECT_FLOAT_EQ(camera->projection[10], -0.5f);

    // Zero zoom frames nothing instead of dividing by zero.
    camera->zoom = 0.0f;
    Step();
    EXPECT_EQ(camera->projection, Camera::ColumnMatrix{});
    EXPECT_EQ(camera->viewLeft, camera->viewRight);
}

} // namespace Varn::Test
