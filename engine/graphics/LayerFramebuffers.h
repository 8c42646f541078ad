#pragma once
// Every render layer's framebuffer, one per layer ever drawn, kept for the whole run so that a
// layer's effect outlives scene changes. The graphics system draws into them and composites
// them in layer order; the engine resizes them when the drawing area changes. Main thread only.
#include "graphics/LayerFramebuffer.h"

#include <cstdint>
#include <vector>

namespace Varn
{
class Window;
}
namespace Varn::Resource
{
class ResourceManager;
}

namespace Varn::Graphics
{

class LayerFramebuffers
{
public:
    LayerFramebuffers(const Window& window, Resource::ResourceManager& resources)
        : window(window), resources(resources)
    {
    }
    LayerFramebuffers(const LayerFramebuffers&) = delete;
    LayerFramebuffers& operator=(const LayerFramebuffers&) = delete;

    // The layer's framebuffer, created at the drawing area's size on first use; marks the
    // layer as drawn in the frame in progress. Needs a current OpenGL context.
    LayerFramebuffer* Get(int32_t layer);
    // The layer's framebuffer if it has one; marks nothing.
    const LayerFramebuffer* Find(int32_t layer) const;
    // Every framebuffer at the new size; their contents are lost.
    void Resize(int width, int height);

    std::vector<LayerFramebufferRecord> records; // in the order the layers were first drawn

private:
    const Window& window;
    Resource::ResourceManager& resources;
};

} // namespace Varn::Graphics
