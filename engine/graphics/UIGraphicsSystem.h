#pragma once
// Draws UI images and buttons over the composited world, once per displayed frame, straight
// into the default framebuffer. While the scene plays, elements keep their place and size on
// screen whatever the camera's zoom and position; otherwise they sit in the world relative to
// the camera's start position. Reorders its own working set by depth; writes the Transform
// worldScale of the elements it draws.
#include "core/ISystem.h"

namespace Varn::Graphics
{

class UIGraphicsSystem : public ISystem
{
public:
    UIGraphicsSystem(ECS::Scene* scene, const Services& services);
    void Update(const float& dt) override; // dt unused
};

} // namespace Varn::Graphics
