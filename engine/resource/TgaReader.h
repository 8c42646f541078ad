#pragma once
// Reads Truevision TGA files: true colour (24 or 32 bits) and grey (8 bits, or 16 with alpha),
// plain or run-length encoded, stored from either corner. TGA has no signature, so the header
// is checked strictly: anything else is refused rather than read as noise.
#include "resource/ImageDecoder.h"

namespace Varn::Resource
{

class TgaReader
{
public:
    static bool Decode(const unsigned char* data, std::size_t size, DecodedImage& image, std::string& error);
};

} // namespace Varn::Resource
