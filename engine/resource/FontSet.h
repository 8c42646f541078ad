#pragma once
// A TrueType font rasterised once into one small texture per 7-bit ASCII code at 48 pixels.
#include "resource/IResource.h"

#include <cstdint>
#include <map>

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
    std::map<char, Character> characters;
};

} // namespace Varn::Resource
