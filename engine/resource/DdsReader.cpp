#include "resource/DdsReader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace Varn::Resource
{

namespace
{

constexpr std::size_t HEADER_BYTES = 128; // "DDS " and the 124-byte header
constexpr uint32_t HEADER_SIZE = 124;
constexpr uint32_t FORMAT_SIZE = 32;

// Header flags.
constexpr uint32_t HAS_PITCH = 0x8;
constexpr uint32_t HAS_LINEAR_SIZE = 0x80000;
// Pixel format flags.
constexpr uint32_t ALPHA_PIXELS = 0x1;
constexpr uint32_t FOUR_CC = 0x4;
constexpr uint32_t RGB = 0x40;
constexpr uint32_t LUMINANCE = 0x20000;

uint32_t Word(const unsigned char* data, std::size_t index) // the index-th 32-bit word
{
    const unsigned char* p = data + index * 4;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Header
{
    uint32_t flags, height, width, pitchOrLinearSize;
    uint32_t formatFlags, fourCC, bitCount, masks[4]; // red, green, blue, alpha
};

Header ReadHeader(const unsigned char* data)
{
    // Words from the magic: 1 size, 2 flags, 3 height, 4 width, 5 pitch, 19 format size,
    // 20 format flags, 21 four-cc, 22 bit count, 23-26 masks.
    Header header{};
    header.flags = Word(data, 2);
    header.height = Word(data, 3);
    header.width = Word(data, 4);
    header.pitchOrLinearSize = Word(data, 5);
    header.formatFlags = Word(data, 20);
    header.fourCC = Word(data, 21);
    header.bitCount = Word(data, 22);
    for (std::size_t i = 0; i < 4; ++i)
    {
        header.masks[i] = Word(data, 23 + i);
    }
    return header;
}

// One channel of a packed pixel, scaled to 8 bits; `fallback` when the mask is empty.
unsigned char Channel(uint32_t pixel, uint32_t mask, unsigned char fallback)
{
    if (mask == 0)
    {
        return fallback;
    }
    const uint32_t value = (pixel & mask) >> std::countr_zero(mask);
    const int bits = std::popcount(mask);
    if (bits >= 8)
    {
        return static_cast<unsigned char>(value >> (bits - 8));
    }
    return static_cast<unsigned char>(value * 255u / ((1u << bits) - 1u));
}

bool ReadPacked(const unsigned char* data, std::size_t size, const Header& header, DecodedImage& image,
                std::string& error)
{
    const bool luminance = (header.formatFlags & LUMINANCE) != 0;
    const uint32_t bytesPerPixel = header.bitCount / 8;
    const bool usable = luminance ? header.bitCount == 8 : header.bitCount == 24 || header.bitCount == 32;
    if (!usable)
    {
        error = "DDS with " + std::to_string(header.bitCount) + " bits a pixel is not supported";
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(header.width) * bytesPerPixel;
    std::size_t pitch = rowBytes;
    if ((header.flags & HAS_PITCH) != 0 && header.pitchOrLinearSize != 0)
    {
        if (header.pitchOrLinearSize < rowBytes)
        {
            error = "DDS rows of " + std::to_string(header.pitchOrLinearSize) + " bytes cannot hold " +
                    std::to_string(header.width) + " pixels";
            return false;
        }
        pitch = header.pitchOrLinearSize;
    }
    // The last row needs only its pixels, not the padding after them.
    const std::size_t needed = pitch * (header.height - 1) + rowBytes;
    if (needed > size - HEADER_BYTES)
    {
        error = "DDS claims " + std::to_string(needed) + " bytes of pixels; the file holds " +
                std::to_string(size - HEADER_BYTES);
        return false;
    }
    const bool alpha = !luminance && (header.formatFlags & ALPHA_PIXELS) != 0 && header.masks[3] != 0;
    const int32_t channels = luminance ? 1 : alpha ? 4 : 3;
    if (!ImageDecoder::Allocate(image, static_cast<int32_t>(header.width),
                                static_cast<int32_t>(header.height), channels, error))
    {
        return false;
    }
    unsigned char* out = image.pixels.get();
    for (uint32_t y = 0; y < header.height; ++y)
    {
        const unsigned char* in = data + HEADER_BYTES + static_cast<std::size_t>(y) * pitch;
        for (uint32_t x = 0; x < header.width; ++x, in += bytesPerPixel)
        {
            uint32_t pixel = 0;
            for (uint32_t b = 0; b < bytesPerPixel; ++b)
            {
                pixel |= static_cast<uint32_t>(in[b]) << (8 * b);
            }
            if (luminance)
            {
                *out++ = static_cast<unsigned char>(pixel);
                continue;
            }
            for (int32_t c = 0; c < channels; ++c)
            {
                *out++ = Channel(pixel, header.masks[c], 255);
            }
        }
    }
    return true;
}

struct Colour
{
    unsigned char r, g, b, a;
};

Colour From565(uint32_t packed)
{
    const uint32_t r = packed >> 11 & 31, g = packed >> 5 & 63, b = packed & 31;
    return {static_cast<unsigned char>(r << 3 | r >> 2), static_cast<unsigned char>(g << 2 | g >> 4),
            static_cast<unsigned char>(b << 3 | b >> 2), 255};
}

Colour Mix(const Colour& a, const Colour& b, uint32_t weightA, uint32_t weightB)
{
    const uint32_t sum = weightA + weightB;
    return {static_cast<unsigned char>((a.r * weightA + b.r * weightB) / sum),
            static_cast<unsigned char>((a.g * weightA + b.g * weightB) / sum),
            static_cast<unsigned char>((a.b * weightA + b.b * weightB) / sum), 255};
}

// The 4 x 4 colours of a colour block. A DXT1 block whose first end point is not above the
// second has three colours and transparent black; the others always have four.
void ColourBlock(const unsigned char* block, bool allowTransparent, Colour out[16])
{
    const uint32_t first = block[0] | block[1] << 8, second = block[2] | block[3] << 8;
    Colour palette[4] = {From565(first), From565(second)};
    if (first > second || !allowTransparent)
    {
        palette[2] = Mix(palette[0], palette[1], 2, 1);
        palette[3] = Mix(palette[0], palette[1], 1, 2);
    }
    else
    {
        palette[2] = Mix(palette[0], palette[1], 1, 1);
        palette[3] = {0, 0, 0, 0};
    }
    const uint32_t indices = Word(block + 4, 0);
    for (int i = 0; i < 16; ++i)
    {
        out[i] = palette[indices >> (2 * i) & 3];
    }
}

// DXT5's alpha: two end points and sixteen 3-bit indices into eight levels.
void InterpolatedAlpha(const unsigned char* block, Colour out[16])
{
    const uint32_t a0 = block[0], a1 = block[1];
    uint32_t levels[8] = {a0, a1};
    if (a0 > a1)
    {
        for (uint32_t i = 1; i < 7; ++i)
        {
            levels[i + 1] = ((7 - i) * a0 + i * a1) / 7;
        }
    }
    else
    {
        for (uint32_t i = 1; i < 5; ++i)
        {
            levels[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        }
        levels[6] = 0;
        levels[7] = 255;
    }
    uint64_t indices = 0;
    for (int i = 0; i < 6; ++i)
    {
        indices |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
    }
    for (int i = 0; i < 16; ++i)
    {
        out[i].a = static_cast<unsigned char>(levels[indices >> (3 * i) & 7]);
    }
}

bool ReadBlocks(const unsigned char* data, std::size_t size, const Header& header, DecodedImage& image,
                std::string& error)
{
    const int variant = header.fourCC == 0x31545844u   ? 1
                        : header.fourCC == 0x33545844u ? 3
                        : header.fourCC == 0x35545844u ? 5
                                                       : 0;
    if (variant == 0)
    {
        char name[5] = {};
        std::memcpy(name, &header.fourCC, 4);
        std::replace_if(
            name, name + 4, [](char c) { return c < 32 || c > 126; }, '?');
        error = std::string("DDS compression \"") + name + "\" is not supported";
        return false;
    }
    const std::size_t blockBytes = variant == 1 ? 8 : 16;
    const std::size_t columns = (header.width + 3) / 4, rows = (header.height + 3) / 4;
    const std::size_t needed = columns * rows * blockBytes;
    const std::size_t held = size - HEADER_BYTES;
    if ((header.flags & HAS_LINEAR_SIZE) != 0 && header.pitchOrLinearSize > held)
    {
        error = "DDS claims " + std::to_string(header.pitchOrLinearSize) +
                " bytes of blocks; the file holds " + std::to_string(held);
        return false;
    }
    if (needed > held)
    {
        error = "DDS needs " + std::to_string(needed) + " bytes of blocks; the file holds " +
                std::to_string(held);
        return false;
    }
    if (!ImageDecoder::Allocate(image, static_cast<int32_t>(header.width),
                                static_cast<int32_t>(header.height), 4, error))
    {
        return false;
    }
    const unsigned char* block = data + HEADER_BYTES;
    Colour texels[16];
    for (std::size_t by = 0; by < rows; ++by)
    {
        for (std::size_t bx = 0; bx < columns; ++bx, block += blockBytes)
        {
            ColourBlock(block + (variant == 1 ? 0 : 8), variant == 1, texels);
            if (variant == 3)
            {
                for (int i = 0; i < 16; ++i)
                {
                    texels[i].a = static_cast<unsigned char>((block[i / 2] >> (4 * (i % 2)) & 15) * 17);
                }
            }
            else if (variant == 5)
            {
                InterpolatedAlpha(block, texels);
            }
            // Blocks at the right and bottom edges may reach past the image.
            for (std::size_t i = 0; i < 16; ++i)
            {
                const std::size_t x = bx * 4 + i % 4, y = by * 4 + i / 4;
                if (x < header.width && y < header.height)
                {
                    std::memcpy(image.pixels.get() + (y * header.width + x) * 4, &texels[i], 4);
                }
            }
        }
    }
    return true;
}

} // namespace

bool DdsReader::Decode(const unsigned char* data, std::size_t size, DecodedImage& image, std::string& error)
{
    if (size < HEADER_BYTES || std::memcmp(data, "DDS ", 4) != 0)
    {
        error = "DDS file shorter than its header";
        return false;
    }
    if (Word(data, 1) != HEADER_SIZE || Word(data, 19) != FORMAT_SIZE)
    {
        error = "DDS header sizes " + std::to_string(Word(data, 1)) + " and " +
                std::to_string(Word(data, 19)) + " are not 124 and 32";
        return false;
    }
    const Header header = ReadHeader(data);
    if (!ImageDecoder::CheckSize(header.width, header.height, error))
    {
        return false;
    }
    if ((header.formatFlags & FOUR_CC) != 0)
    {
        return ReadBlocks(data, size, header, image, error);
    }
    if ((header.formatFlags & (RGB | LUMINANCE)) != 0)
    {
        return ReadPacked(data, size, header, image, error);
    }
    error = "DDS pixel format is neither colour, luminance nor compressed";
    return false;
}

} // namespace Varn::Resource
