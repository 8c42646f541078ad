#include "graphics/CameraSystem.h"

#include "core/Clock.h"
#include "core/Window.h"
#include "ecs/Camera.h"
#include "ecs/IEntity.h"
#include "ecs/Transform.h"

namespace Varn::Graphics
{

namespace
{

using ECS::Camera;

Camera::ColumnMatrix Projection(float zoom)
{
    const float hw = CameraSystem::HALF_WIDTH * zoom;
    const float hh = CameraSystem::HALF_HEIGHT * zoom;
    Camera::ColumnMatrix m{};
    if (hw == 0.0f || hh == 0.0f)
    {
        return m; // zoom 0 frames nothing; a zero matrix draws nothing rather than dividing by zero
    }
    m[0] = 1.0f / hw; // 2 / (right - left)
    m[5] = 1.0f / hh; // 2 / (top - bottom)
    m[10] = -0.5f;    // -2 / (far - near), with near -2 and far 2
    m[15] = 1.0f;
    return m;
}

// Looking down -z with y up from `eye` is just the translation by -eye.
Camera::ColumnMatrix View(const Vector4& eye)
{
    Camera::ColumnMatrix m{};
    m[0] = m[5] = m[10] = m[15] = 1.0f;
    m[12] = -eye.x;
    m[13] = -eye.y;
    m[14] = -eye.z;
    return m;
}

} // namespace

CameraSystem::CameraSystem(ECS::Scene* scene_, const Services& services_) : ISystem(scene_, services_)
{
    Need<ECS::Camera>();
}

float CameraSystem::PixelsPerUnit(const Window& window)
{
    return window.viewportWidth > 0 ? static_cast<float>(window.viewportWidth) / (2.0f * HALF_WIDTH) : 1.0f;
}

void CameraSystem::Update(const float& /*dt*/)
{
    updateStartTicks = NowTicks();
    for (ECS::IEntity* entity : entities)
    {
        const auto* transform = entity->GetComponent<ECS::Transform>();
        auto* camera = entity->GetComponent<Camera>();
        if (transform == nullptr || camera == nullptr)
        {
            continue;
        }
        const float x = transform->worldMatrix.m[0][3];
        const float y = transform->worldMatrix.m[1][3];
        const float hw = HALF_WIDTH * camera->zoom;
        const float hh = HALF_HEIGHT * camera->zoom;
        camera->viewLeft = x - hw;
        camera->viewRight = x + hw;
        camera->viewBottom = y - hh;
        camera->viewTop = y + hh;
        camera->projection = Projection(camera->zoom);
        camera->startProjection = Projection(camera->startZoom);
        camera->view = View(transform->position);
        camera->startView = View(transform->position - camera->startPosition);
    }
    lastUpdateSeconds = static_cast<float>(static_cast<double>(NowTicks() - updateStartTicks) / 1e7);
}

} // namespace Varn::Graphics
