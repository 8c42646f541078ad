#pragma once
// Turns each camera entity's position and zoom into its view and projection matrices and its
// visible rectangle. The world is framed as a virtual 1920 x 1080 view at zoom 1, whatever the
// window size. Writes only the Camera's computed fields.
#include "core/ISystem.h"

namespace Varn
{
class Window;
}

namespace Varn::Graphics
{

class CameraSystem : public ISystem
{
public:
    static constexpr float HALF_WIDTH = 960.0f;  // world units at zoom 1
    static constexpr float HALF_HEIGHT = 540.0f; // world units at zoom 1

    CameraSystem(ECS::Scene* scene, const Services& services);
    void Update(const float& dt) override;

    // Screen pixels per world unit at zoom 1: the picture always spans 1920 units. The cursor,
    // buttons and mouse-over tests all convert through this one factor.
    static float PixelsPerUnit(const Window& window);
};

} // namespace Varn::Graphics
