#pragma once
// One render layer's off-screen target: an OpenGL framebuffer whose only attachment is an RGBA
// colour texture the size of the drawing area, plus the layer's screen effect (a composite
// program and a tint). LayerFramebuffers keeps one per layer for the whole run.
#include "core/VarnColor.h"

#include <cstdint>
#include <memory>

namespace Varn::Resource
{
class Shader;
class ResourceManager;
} // namespace Varn::Resource

namespace Varn::Graphics
{

enum class LAYER_EFFECT
{
    BLUR, // the blur program at half opacity
    DIM,  // 60 % brightness, program unchanged
    RESET // the plain program, full tint
};

class LayerFramebuffer
{
public:
    // Needs a current OpenGL context. The compositing programs come from `resources`.
    LayerFramebuffer(Resource::ResourceManager& resources, int width, int height);
    ~LayerFramebuffer();
    LayerFramebuffer(const LayerFramebuffer&) = delete;
    LayerFramebuffer& operator=(const LayerFramebuffer&) = delete;

    // Re-specifies the colour texture; its contents are lost.
    void Resize(int newWidth, int newHeight);
    void ApplyEffect(LAYER_EFFECT effect);
    // Composites the layer over what is drawn, filling the current viewport.
    void Draw(uint32_t screenQuadVao) const;
    // True when compositing copies the layer unchanged: the plain program at full tint.
    bool Plain() const;

    Resource::Shader* shader = nullptr; // compositing program; may be null before the defaults load
    VarnColor tint{1, 1, 1, 1};         // multiplies every composited texel
    uint32_t fbo = 0;
    uint32_t colorTexture = 0;
    int width = 0, height = 0; // pixels

private:
    Resource::ResourceManager& resources;
};

// A layer's entry in LayerFramebuffers.
struct LayerFramebufferRecord
{
    bool used = false; // drawn into during the frame in progress
    int32_t layer = 0;
    std::unique_ptr<LayerFramebuffer> framebuffer;
};

} // namespace Varn::Graphics
