// Decoding image bytes: damaged files refused with a reason before anything large is allocated,
// block-compressed and packed DDS, TGA's packets and corners, and the formats SDL2_image reads.
#include "resource/ImageDecoder.h"
#include "resource/ResourceTestSupport.h"

#include <SDL2/SDL_image.h>

namespace Varn::Test
{

using Resource::DecodedImage;
using Resource::ImageDecoder;

namespace
{
struct Outcome
{
    bool ok = false;
    DecodedImage image;
    std::string error;
};

Outcome Decode(const std::string& bytes)
{
    Outcome outcome;
    outcome.ok = ImageDecoder::Decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                      outcome.image, outcome.error);
    return outcome;
}

std::array<int, 4> Pixel(const DecodedImage& image, int x, int y)
{
    const unsigned char* p = image.pixels.get() + (y * image.width + x) * image.channels;
    return {p[0], p[1], p[2], image.channels == 4 ? p[3] : 255};
}

void Put32(std::string& file, std::size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
    {
        file[offset + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}
} // namespace

TEST(ImageDecoder, DamagedFilesAreRefusedWithTheirReason)
{
    const std::string tga3x3 = Tga(3, 3, 3, std::vector<uint8_t>(27, 9));
    std::string runLength = Tga(3, 3, 3, {});
    runLength[2] = 10;
    runLength += std::string("\x82\x01\x02\x03\x85", 5); // the second packet has no pixel
    const auto damaged = DamagedImages();
    const std::string cases[][2] = {
        {damaged[0].second, "invalid code lengths set"},
        {damaged[1].second, "over the limit"},
        {damaged[2].second, "claims 268435456 bytes"},
        {damaged[3].second, "shorter than its header"},
        {Dds(64, 64, "DXT5", std::string(100, '\0')), "needs 4096 bytes"},
        {Dds(64, 64, "ATI2", std::string(4096, '\0')), "\"ATI2\" is not supported"},
        {Png(20000, 1, ""), "20000 x 1 pixels, over the limit"},
        {std::string("\xFF\xD8\xFF\xC0\0\x11\x08\x9C\x40\x9C\x40\x03", 12),
         "40000 x 40000 pixels, over the limit"},
        {tga3x3.substr(0, 30), "more than the file holds"},
        {runLength, "run-length data ends"},
        {"plain text, not a picture at all", "not an image file"},
        {"", "not an image file"},
    };
    for (const auto& [bytes, reason] : cases)
    {
        const Outcome outcome = Decode(bytes);
        EXPECT_FALSE(outcome.ok) << reason;
        EXPECT_EQ(outcome.image.pixels, nullptr);
        EXPECT_NE(outcome.error.find(reason), std::string::npos) << outcome.error;
    }
    // Whole, the same files read.
    EXPECT_TRUE(Decode(tga3x3).ok);
    EXPECT_TRUE(Decode(Dds(64, 64, "DXT5", std::string(4096, '\0'))).ok);
}

TEST(ImageDecoder, DxtBlocksGiveTheirColoursAndAlphaAndStopAtTheImageEdge)
{
    // DXT1, 5 x 3, two blocks. The first has four colours (red above blue): texels red, blue,
    // two thirds red, one third red. The second has three and transparent black: its first
    // texel is transparent, its second (x 5) lies outside the image.
    const std::string dxt1("\x00\xF8\x1F\x00\xE4\x00\x00\x00"
                           "\x1F\x00\x00\xF8\x03\x00\x00\x00",
                           16);
    const Outcome one = Decode(Dds(5, 3, "DXT1", dxt1));
    ASSERT_TRUE(one.ok) << one.error;
    EXPECT_EQ(one.image.channels, 4);
    EXPECT_EQ(Pixel(one.image, 0, 0), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(Pixel(one.image, 1, 0), (std::array<int, 4>{0, 0, 255, 255}));
    EXPECT_EQ(Pixel(one.image, 2, 0), (std::array<int, 4>{170, 0, 85, 255}));
    EXPECT_EQ(Pixel(one.image, 3, 0), (std::array<int, 4>{85, 0, 170, 255}));
    EXPECT_EQ(Pixel(one.image, 4, 0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(Pixel(one.image, 4, 1), (std::array<int, 4>{0, 0, 255, 255})) << "index 0 of the second block";

    // DXT3: four bits of alpha a texel, scaled by 17.
    const std::string dxt3 = std::string("\xF0\x07", 2) + std::string(6, '\0') + std::string(8, '\0');
    const Outcome three = Decode(Dds(4, 4, "DXT3", dxt3));
    ASSERT_TRUE(three.ok) << three.error;
    EXPECT_EQ(Pixel(three.image, 0, 0)[3], 0);
    EXPECT_EQ(Pixel(three.image, 1, 0)[3], 255);
    EXPECT_EQ(Pixel(three.image, 2, 0)[3], 119);

    // DXT5: eight levels when the first end point is above the second, six and 0, 255 otherwise.
    // Indices: texel 0 takes level 2, texel 1 level 7.
    const std::string indices("\x3A\0\0\0\0\0", 6);
    const Outcome eight =
        Decode(Dds(4, 4, "DXT5", std::string("\xC8\x64", 2) + indices + std::string(8, '\0')));
    const Outcome six =
        Decode(Dds(4, 4, "DXT5", std::string("\x64\xC8", 2) + indices + std::string(8, '\0')));
    ASSERT_TRUE(eight.ok && six.ok);
    EXPECT_EQ(Pixel(eight.image, 0, 0)[3], (6 * 200 + 100) / 7);
    EXPECT_EQ(Pixel(eight.image, 1, 0)[3], (1 * 200 + 6 * 100) / 7);
    EXPECT_EQ(Pixel(six.image, 0, 0)[3], (4 * 100 + 200) / 5);
    EXPECT_EQ(Pixel(six.image, 1, 0)[3], 255);
}

TEST(ImageDecoder, PackedDdsFollowsItsMasksAndRowPitchAndTgaComesOutTopFirstLeftToRight)
{
    // 24 bits a pixel stored blue, green, red; rows padded to 8 bytes.
    std::string bgr = Dds(2, 2, "",
                          std::string("\x01\x02\x03\x04\x05\x06\xEE\xEE"
                                      "\x07\x08\x09\x0A\x0B\x0C",
                                      14));
    Put32(bgr, 20, 8);    // pitch
    Put32(bgr, 80, 0x40); // colour, no alpha
    Put32(bgr, 88, 24);   // bits a pixel
    Put32(bgr, 104, 0);   // no alpha mask
    const Outcome packed = Decode(bgr);
    ASSERT_TRUE(packed.ok) << packed.error;
    EXPECT_EQ(packed.image.channels, 3);
    EXPECT_EQ(Pixel(packed.image, 1, 0), (std::array<int, 4>{6, 5, 4, 255}));
    EXPECT_EQ(Pixel(packed.image, 0, 1), (std::array<int, 4>{9, 8, 7, 255}));

    // 32 bits stored red, green, blue, alpha.
    std::string rgba = Dds(1, 1, "", std::string("\x10\x20\x30\x40", 4));
    Put32(rgba, 92, 0x000000FF);
    Put32(rgba, 100, 0x00FF0000);
    const Outcome swapped = Decode(rgba);
    ASSERT_TRUE(swapped.ok) << swapped.error;
    EXPECT_EQ(Pixel(swapped.image, 0, 0), (std::array<int, 4>{0x10, 0x20, 0x30, 0x40}));

    // A pitch too short for the row is refused.
    Put32(bgr, 20, 5);
    EXPECT_FALSE(Decode(bgr).ok);

    // TGA run-length, stored bottom row first: three reds, then literal red, green, blue on top.
    std::string tga = Tga(3, 2, 3, {});
    tga[2] = 10;
    tga[17] = 0; // bottom-left origin
    tga += std::string("\x82\x00\x00\xFF"
                       "\x02\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00",
                       14);
    const Outcome runs = Decode(tga);
    ASSERT_TRUE(runs.ok) << runs.error;
    EXPECT_EQ(Pixel(runs.image, 0, 0), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(Pixel(runs.image, 1, 0), (std::array<int, 4>{0, 255, 0, 255}));
    EXPECT_EQ(Pixel(runs.image, 2, 0), (std::array<int, 4>{0, 0, 255, 255}));
    EXPECT_EQ(Pixel(runs.image, 1, 1), (std::array<int, 4>{255, 0, 0, 255}));

    // TGA stored right to left.
    std::string mirrored = Tga(2, 1, 1, {10, 20});
    mirrored[17] = 0x30;
    const Outcome flipped = Decode(mirrored);
    ASSERT_TRUE(flipped.ok) << flipped.error;
    EXPECT_EQ(flipped.image.pixels[0], 20);
    EXPECT_EQ(flipped.image.pixels[1], 10);
}

TEST(ImageDecoder, JpegAndBmpDecodeThroughSdl)
{
    // An 8 x 8 orange square written by SDL itself, as JPEG and as BMP.
    SDL_Surface* square = SDL_CreateRGBSurfaceWithFormat(0, 8, 8, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_NE(square, nullptr);
    SDL_FillRect(square, nullptr, SDL_MapRGB(square->format, 240, 128, 16));
    std::string files[2];
    for (int kind = 0; kind < 2; ++kind)
    {
        std::vector<char> buffer(4096);
        SDL_RWops* out = SDL_RWFromMem(buffer.data(), static_cast<int>(buffer.size()));
        ASSERT_EQ(kind == 0 ? IMG_SaveJPG_RW(square, out, 0, 95) : SDL_SaveBMP_RW(square, out, 0), 0);
        files[kind].assign(buffer.data(), static_cast<std::size_t>(SDL_RWtell(out)));
        SDL_RWclose(out);
    }
    SDL_FreeSurface(square);
    for (const std::string& file : files)
    {
        const Outcome decoded = Decode(file);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.image.width, 8);
        EXPECT_EQ(decoded.image.channels, 3);
        const std::array<int, 4> centre = Pixel(decoded.image, 4, 4);
        EXPECT_NEAR(centre[0], 240, 4);
        EXPECT_NEAR(centre[1], 128, 4);
        EXPECT_NEAR(centre[2], 16, 4);
    }
}

} // namespace Varn::Test
