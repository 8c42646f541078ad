#pragma once
// Shared by the resource tests: tiny image and sound writers, a float target that reads shader
// output back unclamped, and a fixture with the repository's default resources loaded.
#include "resource/ResourceManager.h"
#include "support/EngineTest.h"
#include "support/ScratchFolder.h"

#include <glbinding/gl33core/gl.h>
#include <zlib.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace Varn::Test
{

using namespace gl33core;

// An uncompressed TGA, rows top first. Pixels are grey, grey+alpha, RGB or RGBA by `channels`.
inline std::string Tga(int width, int height, int channels, const std::vector<uint8_t>& pixels)
{
    std::string file(18, '\0');
    file[2] = static_cast<char>(channels <= 2 ? 3 : 2);
    file[12] = static_cast<char>(width & 0xFF);
    file[13] = static_cast<char>(width >> 8);
    file[14] = static_cast<char>(height & 0xFF);
    file[15] = static_cast<char>(height >> 8);
    file[16] = static_cast<char>(channels * 8);
    file[17] = static_cast<char>(0x20 | (channels % 2 == 0 ? 8 : 0)); // top-left origin, alpha bits
    for (std::size_t i = 0; i < pixels.size(); i += static_cast<std::size_t>(channels))
    {
        const int order[4][4] = {{0}, {0, 1}, {2, 1, 0}, {2, 1, 0, 3}}; // TGA stores BGR(A)
        for (int c = 0; c < channels; ++c)
        {
            file.push_back(static_cast<char>(pixels[i + static_cast<std::size_t>(order[channels - 1][c])]));
        }
    }
    return file;
}

// A DDS file: `fourCC` "DXT5" with `data` as compressed blocks, or empty for uncompressed
// 32-bit BGRA rows.
inline std::string Dds(uint32_t width, uint32_t height, const std::string& fourCC, const std::string& data)
{
    std::string file = "DDS ";
    auto u32 = [&file](uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
        {
            file.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    };
    const bool compressed = !fourCC.empty();
    u32(124);                                   // header size
    u32(0x1007 | (compressed ? 0x80000 : 0x8)); // caps, size, format, pitch or linear size
    u32(height);
    u32(width);
    u32(compressed ? static_cast<uint32_t>(data.size()) : width * 4); // linear size or pitch
    u32(0);                                                           // depth
    u32(0);                                                           // mipmaps
    for (int i = 0; i < 11; ++i)
    {
        u32(0);
    }
    u32(32);                      // pixel format size
    u32(compressed ? 0x4 : 0x41); // four-cc, or RGB with alpha
    file += compressed ? fourCC : std::string(4, '\0');
    u32(compressed ? 0 : 32);         // bits per pixel
    u32(compressed ? 0 : 0x00FF0000); // red mask
    u32(compressed ? 0 : 0x0000FF00); // green mask
    u32(compressed ? 0 : 0x000000FF); // blue mask
    u32(compressed ? 0 : 0xFF000000); // alpha mask
    u32(0x1000);                      // a plain texture
    for (int i = 0; i < 4; ++i)
    {
        u32(0);
    }
    return file + data;
}
// A PNG of 8-bit RGBA claiming `width` x `height`, whose one image block holds `stream`.
inline std::string Png(uint32_t width, uint32_t height, const std::string& stream)
{
    auto be32 = [](uint32_t value)
    {
        std::string out;
        for (int shift = 24; shift >= 0; shift -= 8)
        {
            out.push_back(static_cast<char>((value >> shift) & 0xFF));
        }
        return out;
    };
    auto chunk = [&be32](const std::string& type, const std::string& data)
    {
        const std::string body = type + data;
        const uLong crc =
            crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
        return be32(static_cast<uint32_t>(data.size())) + body + be32(static_cast<uint32_t>(crc));
    };
    const std::string header = be32(width) + be32(height) + std::string("\x08\x06\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", stream) +
           chunk("IEND", "");
}

// Damaged images of the kinds that once crashed or hung the old decoder, by file name: a PNG
// whose compressed stream has an impossible Huffman table (four code-length codes all one bit
// long, more than one bit can tell apart); a DDS whose width times height times four overflows
// any 32-bit size; one whose header claims blocks the file does not hold (the old reader seeked
// for them for ever); and 103 bytes claiming a 65535 x 65535 image.
inline std::vector<std::pair<std::string, std::string>> DamagedImages()
{
    std::string claimsMore = Dds(1024, 1024, "DXT5", std::string(32, '\x11'));
    claimsMore.replace(20, 4, std::string("\0\0\0\x10", 4)); // linear size 0x10000000, far past the end
    return {{"broken-huffman.png", Png(4, 4, std::string("\x78\x9C\x05\x00\x92\x04\0\0\0\0", 10))},
            {"overflowing.dds", Dds(0x40000001u, 0x40000001u, "", std::string(64, '\x7F'))},
            {"claims-more.dds", claimsMore},
            {"tiny-but-vast.dds", Dds(65535, 65535, "", "").substr(0, 103)}};
}

// A scene with one sprite for each damaged image, found in the folder `folder` (content path
// style, ending in a back slash).
inline std::string SceneOfDamagedSprites(const std::string& folder)
{
    std::string escaped;
    for (char c : folder)
    {
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    std::string scene = "[";
    for (const auto& [name, bytes] : DamagedImages())
    {
        scene += std::string(scene.size() > 1 ? "," : "") + R"({"ID":")" + name +
                 R"(","ID Type":0,"Transform":{},"Sprite Renderer":{"Texture":")" + escaped + name + R"("}})";
    }
    return scene + "]";
}

// A 16-bit PCM WAV of `frames` frames holding a ramp.
inline std::string Wav(int rate, int channels, int frames)
{
    auto le = [](std::string& out, uint32_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
        {
            out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    };
    const uint32_t dataBytes = static_cast<uint32_t>(frames * channels * 2);
    std::string file = "RIFF";
    le(file, 36 + dataBytes, 4);
    file += "WAVEfmt ";
    le(file, 16, 4);
    le(file, 1, 2);
    le(file, static_cast<uint32_t>(channels), 2);
    le(file, static_cast<uint32_t>(rate), 4);
    le(file, static_cast<uint32_t>(rate * channels * 2), 4);
    le(file, static_cast<uint32_t>(channels * 2), 2);
    le(file, 16, 2);
    file += "data";
    le(file, dataBytes, 4);
    for (int i = 0; i < frames * channels; ++i)
    {
        le(file, static_cast<uint32_t>((i * 37) & 0x7FFF), 2);
    }
    return file;
}

// A texture with exactly the given bytes: nearest sampling, clamped.
inline GLuint MakeTexture(int width, int height, GLenum format, const std::vector<uint8_t>& texels)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum internal = format == GL_RED ? GL_R8 : GL_RGBA8;
    glTexImage2D(GL_TEXTURE_2D, 0, internal, width, height, 0, format, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
}

// A texture's level 0 as RGBA bytes, rows bottom (first file row) first.
inline std::vector<uint8_t> ReadTexture(GLuint texture, int width, int height)
{
    std::vector<uint8_t> bytes(static_cast<std::size_t>(width * height * 4));
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return bytes;
}

// An RGBA32F framebuffer, bound and cleared to zero: shader output reads back as computed.
class FloatTarget
{
public:
    FloatTarget(int width, int height)
    {
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        glViewport(0, 0, width, height);
        glDisable(GL_BLEND);
        Clear();
    }
    ~FloatTarget()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &texture);
    }
    FloatTarget(const FloatTarget&) = delete;
    FloatTarget& operator=(const FloatTarget&) = delete;

    void Clear() const
    {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    std::array<float, 4> Pixel(int x, int y) const
    {
        std::array<float, 4> rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, rgba.data());
        return rgba;
    }

    GLuint texture = 0, framebuffer = 0;
};

// An engine with a window whose ResourceManager has run LoadDefaults on the repository's
// Resources folder.
class DefaultResourcesTest : public WindowedEngineTest
{
protected:
    void SetUp() override
    {
        WindowedEngineTest::SetUp();
        if (HasFatalFailure())
        {
            return;
        }
        previous = std::filesystem::current_path();
        std::filesystem::current_path(CORVALUNE_SOURCE_DIR);
        resources = engine->resources.get();
        resources->LoadDefaults();
    }
    void TearDown() override
    {
        if (!previous.empty())
        {
            std::filesystem::current_path(previous);
        }
        WindowedEngineTest::TearDown();
    }

    Resource::ResourceManager* resources = nullptr;
    std::filesystem::path previous;
};

} // namespace Varn::Test
