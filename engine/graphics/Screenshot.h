#pragma once
// The picture of the window's drawing area as RGBA bytes, for tests and for people: read back
// from the default framebuffer after the frame is drawn and before the buffers are swapped.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Varn
{
class Window;
}

namespace Varn::Graphics
{

class Screenshot
{
public:
    // Reads the window's drawing area (the letter-boxed picture, not the bars).
    static Screenshot Capture(const Window& window);

    // Writes an 8-bit RGBA PNG; false when the file cannot be written.
    bool SavePng(const std::string& path) const;
    // The pixel at (x, y) counted from the top-left corner, as RGBA.
    std::array<uint8_t, 4> At(int x, int y) const;

    int width = 0, height = 0;
    std::vector<uint8_t> rgba; // rows from the top, 4 bytes a pixel
};

} // namespace Varn::Graphics
