#pragma once
// A TrueType font rasterised once into one small texture per 7-bit ASCII code at 48 pixels.
#include "resource/IResource.h"

#include <cstdint>
#include <map>
#include <string>

namespace Varn
{
class Logger;
}

namespace Varn::Resource
{

struct Character
{
    uint32_t textureId = 0;      // one red channel of coverage
    int32_t size[2] = {0, 0};    // bitmap width and rows, pixels
    int32_t bearing[2] = {0, 0}; // bitmap left and top, pixels, top measured upwards
    uint32_t advance = 0;        // 1/64 pixel
};

class FontSet final : public IResource
{
public:
    static constexpr unsigned PIXEL_HEIGHT = 48;
    static constexpr unsigned GLYPH_COUNT = 128; // codes 0 to 127

    explicit FontSet(Logger& logger) : logger(logger) {}
    ~FontSet() override; // deletes the glyph textures

    // Rasterises every glyph of the TrueType file (without a current OpenGL context only the
    // metrics, with textureId 0). On success the new glyphs replace the old ones; on failure a
    // line is logged, the old glyphs stay and false is returned.
    bool Load(const std::string& path);

    std::map<char, Character> characters; // exactly GLYPH_COUNT entries once loaded

private:
    void DeleteGlyphTextures();

private:
    Logger& logger;
};

} // namespace Varn::Resource
