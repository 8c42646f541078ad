#pragma once
// Draws UI images and buttons over the composited world, once per displayed frame, straight
// into the default framebuffer. While the scene plays, elements keep their place and size on
// screen whatever the camera's zoom and position; otherwise they sit in the world relative to
// the camera's start position. Reorders its own working set by depth; writes the Transform
// worldScale of the elements it draws. Elements with the built-in sprite program are drawn in
// instanced runs, as sprites are; one with a program of its own is drawn alone, in its place.
#include "core/ISystem.h"

#include <memory>

namespace Varn::Graphics
{

class SpriteBatch;

class UIGraphicsSystem : public ISystem
{
public:
    UIGraphicsSystem(ECS::Scene* scene, const Services& services);
    ~UIGraphicsSystem() override;

    void Update(const float& dt) override; // dt unused

    // Off: every element drawn on its own, with the program's uniforms; for comparison.
    bool batching = true;
    std::size_t batchedRuns = 0; // instanced draws in the last frame

private:
    std::unique_ptr<SpriteBatch> batch; // made with the first frame drawn
};

} // namespace Varn::Graphics
