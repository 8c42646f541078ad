#pragma once
// Turns the bytes of an image file into 8-bit pixels, rows top first. The format is told by the
// file's first bytes: PNG through libpng, JPEG through SDL2_image, BMP through SDL, DDS and TGA
// (which has no signature, so it is tried last) with our own readers. Every path checks the
// size a file claims against the limits below before it allocates, so a damaged file is
// refused with a reason instead of crashing or hanging the game. Safe on any thread; PNG, DDS
// and TGA files decode side by side, JPEG and BMP one at a time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Varn::Resource
{

struct DecodedImage
{
    int32_t width = 0, height = 0;           // pixels, each within ImageDecoder::MAX_SIDE
    int32_t channels = 0;                    // 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA
    std::unique_ptr<unsigned char[]> pixels; // width * height * channels bytes, rows top first
};

class ImageDecoder
{
public:
    // Larger than any texture a GPU of ours samples, and small enough that a file claiming the
    // most we accept still decodes in a fraction of a second into at most 256 MiB.
    static constexpr int32_t MAX_SIDE = 16384;                // pixels a side
    static constexpr int64_t MAX_PIXELS = 64 << 20;           // width * height
    static constexpr std::size_t MAX_FILE_BYTES = 512u << 20; // larger files are not read at all

    // Fills `image` and returns true, or returns false with `error` saying why (image empty).
    static bool Decode(const unsigned char* data, std::size_t size, DecodedImage& image, std::string& error);

    // Checks claimed dimensions against the limits; false with `error` set when they are not usable.
    static bool CheckSize(int64_t width, int64_t height, std::string& error);
    // Room for width * height * channels bytes, or null when memory is short.
    static bool Allocate(DecodedImage& image, int32_t width, int32_t height, int32_t channels,
                         std::string& error);
};

} // namespace Varn::Resource
