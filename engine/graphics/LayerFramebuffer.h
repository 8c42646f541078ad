#pragma once
// One render layer's off-screen target: an OpenGL framebuffer with an RGBA colour texture the
// size of the drawing area. The Engine keeps one record per layer; the Window resizes them on
// display-mode switches and the Engine releases them at shutdown.

namespace Varn::Graphics
{

struct LayerFramebuffer
{
    unsigned framebuffer = 0; // 0 until created
    unsigned texture = 0;     // colour attachment; 0 until created
    int width = 0, height = 0;

    // Creates the objects on first use, then (re)allocates the colour storage.
    void Resize(int newWidth, int newHeight);
    void Release();
};

} // namespace Varn::Graphics
