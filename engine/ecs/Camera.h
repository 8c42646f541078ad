#pragma once
// A view onto the world. The scene's main camera frames what the graphics system draws; the
// CameraSystem computes the matrices and the visible rectangle from the entity's Transform.
#include "core/Vector4.h"
#include "ecs/IComponent.h"

#include <array>

namespace Varn::ECS
{

class Camera final : public IComponent
{
public:
    using ColumnMatrix = std::array<float, 16>; // OpenGL column order, used as it is

    Camera();

    void UseDefaults(const Services& services) override;
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    // An orthographic projection, OpenGL style, with near -1 and far 1.
    static ColumnMatrix Orthographic(float left, float right, float bottom, float top);

    float zoom = 1.0f;                 // "Zoom"
    Vector4 startPosition{0, 0, 0, 0}; // "Start Position"
    float startZoom = 1.0f;            // "Start Zoom"

    ColumnMatrix view{};            // zero until computed
    ColumnMatrix startView{};       // zero until computed
    ColumnMatrix startProjection{}; // zero until computed
    ColumnMatrix projection{};      // the drawing area, centred on the origin, once UseDefaults ran
    float viewLeft = 0.0f, viewBottom = 0.0f, viewRight = 0.0f, viewTop = 0.0f; // world units
};

} // namespace Varn::ECS
