#pragma once
// Reads the first image of a DirectDraw Surface file: uncompressed 24- and 32-bit colour (any
// channel masks), 8-bit luminance, and DXT1, DXT3 and DXT5 blocks decoded to RGBA. Further mip
// levels, faces and slices are ignored. Every size the header claims is checked against the
// decoder's limits and the bytes the file really holds before anything is allocated.
#include "resource/ImageDecoder.h"

namespace Varn::Resource
{

class DdsReader
{
public:
    static bool Decode(const unsigned char* data, std::size_t size, DecodedImage& image, std::string& error);
};

} // namespace Varn::Resource
