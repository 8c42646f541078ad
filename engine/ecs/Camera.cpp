#include "ecs/Camera.h"

#include "core/Window.h"

namespace Varn::ECS
{

Camera::Camera() : IComponent("Camera")
{
}

void Camera::UseDefaults(const Services& services)
{
    const Window& window = services.window;
    const float w = static_cast<float>(window.viewportWidth);
    const float h = static_cast<float>(window.viewportHeight);
    projection = Orthographic(-w / 2.0f, w / 2.0f, -h / 2.0f, h / 2.0f);
}

void Camera::BuildProperties()
{
    properties = {
        Property::Of("Zoom", &zoom),
        Property::Of("Start Position", &startPosition),
        Property::Of("Start Zoom", &startZoom),
    };
}

std::unique_ptr<IComponent> Camera::Clone() const
{
    auto copy = std::make_unique<Camera>();
    copy->zoom = zoom;
    copy->startPosition = startPosition;
    copy->startZoom = startZoom;
    copy->view = view;
    copy->startView = startView;
    copy->startProjection = startProjection;
    copy->projection = projection;
    copy->viewLeft = viewLeft;
    copy->viewBottom = viewBottom;
    copy->viewRight = viewRight;
    copy->viewTop = viewTop;
    return FinishClone(std::move(copy));
}

Camera::ColumnMatrix Camera::Orthographic(float left, float right, float bottom, float top)
{
    ColumnMatrix m{};
    const float zNear = -1.0f, zFar = 1.0f;
    if (right == left || top == bottom)
    {
        return m; // no drawing area yet: leave it zero rather than divide by zero
    }
    m[0] = 2.0f / (right - left);
    m[5] = 2.0f / (top - bottom);
    m[10] = -2.0f / (zFar - zNear);
    m[12] = -(right + left) / (right - left);
    m[13] = -(top + bottom) / (top - bottom);
    m[14] = -(zFar + zNear) / (zFar - zNear);
    m[15] = 1.0f;
    return m;
}

} // namespace Varn::ECS
