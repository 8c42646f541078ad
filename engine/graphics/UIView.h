#pragma once
// How the UI renderers see the screen. While the scene plays, UI ignores where the camera is
// and scales with its zoom, so it stays put on screen; otherwise it is seen from the camera's
// start position at the start zoom, as an editor shows it in the world.
#include "ecs/Camera.h"

namespace Varn::Graphics
{

struct UIView
{
    float factor;                                // multiplies UI positions and sizes
    ECS::Camera::ColumnMatrix view;              // column-major
    const ECS::Camera::ColumnMatrix& projection; // the camera's current projection

    static UIView Of(const ECS::Camera& camera, bool playing)
    {
        ECS::Camera::ColumnMatrix identity{};
        identity[0] = identity[5] = identity[10] = identity[15] = 1.0f;
        return {playing ? camera.zoom : camera.startZoom, playing ? identity : camera.startView,
                camera.projection};
    }
};

} // namespace Varn::Graphics
