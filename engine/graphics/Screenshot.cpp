#include "graphics/Screenshot.h"

#include "core/FilePath.h"
#include "core/Window.h"

#include <glbinding/gl33core/gl.h>
#include <png.h>

#include <cstring>

using namespace gl33core;

namespace Varn::Graphics
{

Screenshot Screenshot::Capture(const Window& window)
{
    Screenshot shot;
    shot.width = window.viewportWidth;
    shot.height = window.viewportHeight;
    if (window.glContext == nullptr || shot.width <= 0 || shot.height <= 0)
    {
        shot.width = shot.height = 0;
        return shot;
    }
    const std::size_t row = static_cast<std::size_t>(shot.width) * 4;
    std::vector<uint8_t> bottomUp(row * static_cast<std::size_t>(shot.height));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(window.viewportX, window.viewportY, shot.width, shot.height, GL_RGBA, GL_UNSIGNED_BYTE,
                 bottomUp.data());
    // OpenGL counts rows from the bottom; images count them from the top.
    shot.rgba.resize(bottomUp.size());
    for (int y = 0; y < shot.height; ++y)
    {
        std::memcpy(&shot.rgba[static_cast<std::size_t>(y) * row],
                    &bottomUp[static_cast<std::size_t>(shot.height - 1 - y) * row], row);
    }
    return shot;
}

std::array<uint8_t, 4> Screenshot::At(int x, int y) const
{
    const std::size_t i =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
    return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
}

bool Screenshot::SavePng(const std::string& path) const
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    if (width <= 0 || height <= 0 ||
        png_image_write_to_file(&image, NativePath(path).c_str(), 0, rgba.data(), 0, nullptr) == 0)
    {
        return false;
    }
    return true;
}

} // namespace Varn::Graphics
