#include "resource/TgaReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace Varn::Resource
{

namespace
{

constexpr std::size_t HEADER_BYTES = 18;
constexpr unsigned TRUE_COLOUR = 2, GREY = 3, RUN_LENGTH = 8;
constexpr unsigned char RIGHT_TO_LEFT = 0x10, TOP_FIRST = 0x20;

// One stored pixel (BGR(A) or grey (and alpha)) to the output's RGB(A) or grey order.
void CopyPixel(const unsigned char* in, unsigned char* out, std::size_t bytes, bool colour)
{
    std::memcpy(out, in, bytes);
    if (colour)
    {
        std::swap(out[0], out[2]);
    }
}

// Run-length packets: a header byte whose top bit says "one pixel repeated" or "literal pixels",
// and whose low seven bits give the count less one. A packet may not run past the image.
bool Unpack(const unsigned char* in, const unsigned char* end, unsigned char* out, std::size_t pixels,
            std::size_t bytes, bool colour)
{
    std::size_t done = 0;
    while (done < pixels)
    {
        if (in >= end)
        {
            return false;
        }
        const unsigned char packet = *in++;
        const std::size_t count = std::min<std::size_t>((packet & 0x7F) + 1u, pixels - done);
        const bool repeated = (packet & 0x80) != 0;
        const std::size_t stored = repeated ? bytes : bytes * count;
        if (static_cast<std::size_t>(end - in) < stored)
        {
            return false;
        }
        for (std::size_t i = 0; i < count; ++i)
        {
            CopyPixel(repeated ? in : in + i * bytes, out + (done + i) * bytes, bytes, colour);
        }
        in += stored;
        done += count;
    }
    return true;
}

} // namespace

bool TgaReader::Decode(const unsigned char* data, std::size_t size, DecodedImage& image, std::string& error)
{
    if (size < HEADER_BYTES)
    {
        error = "not an image file this game reads (too short for a TGA header)";
        return false;
    }
    const unsigned idLength = data[0], mapType = data[1], type = data[2];
    const std::size_t mapEntries = data[5] | data[6] << 8, mapEntryBits = data[7];
    const int32_t width = data[12] | data[13] << 8, height = data[14] | data[15] << 8;
    const unsigned depth = data[16];
    const unsigned char descriptor = data[17];

    const unsigned baseType = type & ~RUN_LENGTH;
    const bool colour = baseType == TRUE_COLOUR;
    const bool supported = mapType <= 1 && (baseType == TRUE_COLOUR || baseType == GREY) &&
                           (colour ? depth == 24 || depth == 32 : depth == 8 || depth == 16);
    if (!supported)
    {
        error = "not an image file this game reads (not PNG, JPEG, BMP or DDS, and not a TGA of 8, 16, 24 or "
                "32 bits: type " +
                std::to_string(type) + ", " + std::to_string(depth) + " bits)";
        return false;
    }
    if (!ImageDecoder::CheckSize(width, height, error))
    {
        return false;
    }
    // A colour map that true-colour pixels do not use is skipped.
    const std::size_t skipped =
        HEADER_BYTES + idLength + (mapType == 1 ? mapEntries * ((mapEntryBits + 7) / 8) : 0);
    const std::size_t bytes = depth / 8;
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const bool packed = (type & RUN_LENGTH) != 0;
    if (skipped > size || (!packed && pixels * bytes > size - skipped))
    {
        error = "TGA claims " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, more than the file holds";
        return false;
    }
    if (!ImageDecoder::Allocate(image, width, height, static_cast<int32_t>(bytes), error))
    {
        return false;
    }
    unsigned char* out = image.pixels.get();
    const unsigned char* in = data + skipped;
    if (packed)
    {
        if (!Unpack(in, data + size, out, pixels, bytes, colour))
        {
            error = "TGA run-length data ends before the image does";
            return false;
        }
    }
    else
    {
        for (std::size_t i = 0; i < pixels; ++i)
        {
            CopyPixel(in + i * bytes, out + i * bytes, bytes, colour);
        }
    }

    // Rows come bottom first unless the descriptor says otherwise.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytes;
    if ((descriptor & TOP_FIRST) == 0)
    {
        for (int32_t y = 0; y < height / 2; ++y)
        {
            std::swap_ranges(out + static_cast<std::size_t>(y) * rowBytes,
                             out + static_cast<std::size_t>(y + 1) * rowBytes,
                             out + static_cast<std::size_t>(height - 1 - y) * rowBytes);
        }
    }
    if ((descriptor & RIGHT_TO_LEFT) != 0)
    {
        for (int32_t y = 0; y < height; ++y)
        {
            unsigned char* row = out + static_cast<std::size_t>(y) * rowBytes;
            for (int32_t x = 0; x < width / 2; ++x)
            {
                std::swap_ranges(row + static_cast<std::size_t>(x) * bytes,
                                 row + static_cast<std::size_t>(x + 1) * bytes,
                                 row + static_cast<std::size_t>(width - 1 - x) * bytes);
            }
        }
    }
    return true;
}

} // namespace Varn::Resource
