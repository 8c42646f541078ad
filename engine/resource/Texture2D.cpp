#include "resource/Texture2D.h"

#include "core/FilePath.h"
#include "core/Logger.h"
#include "resource/GLContext.h"
#include "resource/ImageDecoder.h"

#include <glbinding/gl33core/gl.h>
#include <glbinding/gl33ext/enum.h>

#include <cassert>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <mutex>
#include <vector>

using namespace gl33core;

namespace Varn::Resource
{

namespace
{
// The logger is not made for several threads; Load is the one logging call that runs on the
// scene loader's worker tasks, so its lines go through this lock.
std::mutex loadLogMutex;

bool ContextOffersS3TC()
{
    // A core profile answers glGetString(GL_EXTENSIONS) with null; extensions come one by one.
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i)
    {
        const auto* extension =
            reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
        if (extension != nullptr && std::strcmp(extension, "GL_EXT_texture_compression_s3tc") == 0)
        {
            return true;
        }
    }
    return false;
}

// Sprites are blended as premultiplied colour, so colour is scaled by alpha once, here.
void PremultiplyAlpha(unsigned char* pixels, std::size_t pixelCount, int channels)
{
    const int alphaIndex = channels - 1;
    for (std::size_t i = 0; i < pixelCount; ++i)
    {
        unsigned char* pixel = pixels + i * static_cast<std::size_t>(channels);
        const unsigned alpha = pixel[alphaIndex];
        for (int c = 0; c < alphaIndex; ++c)
        {
            pixel[c] = static_cast<unsigned char>((pixel[c] * alpha + 127u) / 255u);
        }
    }
}

// A core profile has no luminance formats. Grey is spread over red, green and blue (grey with
// alpha keeps its alpha), so the texture samples as (l, l, l, 1) or (l, l, l, a), exactly as a
// luminance texture would.
std::vector<unsigned char> ExpandGrey(const unsigned char* pixels, std::size_t pixelCount, int channels)
{
    const bool hasAlpha = channels == 2;
    const std::size_t outChannels = hasAlpha ? 4 : 3;
    std::vector<unsigned char> expanded(pixelCount * outChannels);
    for (std::size_t i = 0; i < pixelCount; ++i)
    {
        const unsigned char* in = pixels + i * static_cast<std::size_t>(channels);
        unsigned char* out = expanded.data() + i * outChannels;
        out[0] = out[1] = out[2] = in[0];
        if (hasAlpha)
        {
            out[3] = in[1];
        }
    }
    return expanded;
}
} // namespace

Texture2D::~Texture2D()
{
    if (textureId != 0 && HasCurrentGLContext())
    {
        glDeleteTextures(1, &textureId);
    }
}

void Texture2D::Load()
{
    // Already on the GPU: a reload has to delete that copy and clear textureId first.
    if (textureId != 0)
    {
        return;
    }
    pixels.reset();
    width = height = channels = 0;

    std::string reason;
    std::ifstream file(NativePath(path), std::ios::binary | std::ios::ate);
    if (file)
    {
        // Read whole: the decoders work on memory, and the size is known before the bytes are.
        const std::streamoff length = file.tellg();
        std::vector<unsigned char> bytes;
        if (length < 0)
        {
            reason = "the file cannot be read";
        }
        else if (static_cast<uint64_t>(length) > ImageDecoder::MAX_FILE_BYTES)
        {
            reason = "the file is larger than " + std::to_string(ImageDecoder::MAX_FILE_BYTES) + " bytes";
        }
        else
        {
            bytes.resize(static_cast<std::size_t>(length));
            file.seekg(0);
            file.read(reinterpret_cast<char*>(bytes.data()), length);
        }
        DecodedImage image;
        if (reason.empty() && file && ImageDecoder::Decode(bytes.data(), bytes.size(), image, reason))
        {
            width = image.width;
            height = image.height;
            channels = image.channels;
            pixels = std::move(image.pixels);
            return;
        }
        if (reason.empty())
        {
            reason = "the file cannot be read";
        }
    }
    const std::lock_guard<std::mutex> lock(loadLogMutex);
    logger.Log("Error: Texture " + path + " Failed to Load");
    // A file that is there but damaged says why; a missing file is said by the line above.
    if (!reason.empty())
    {
        logger.Log("Texture " + path + ": " + reason, Logger::ERROR);
    }
}

void Texture2D::Upload()
{
    // Without a context the pixels are kept, so a later Upload can still succeed.
    if (pixels == nullptr || !HasCurrentGLContext())
    {
        return;
    }
    assert(channels >= 1 && channels <= 4);
    const std::size_t pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (channels == 2 || channels == 4)
    {
        PremultiplyAlpha(pixels.get(), pixelCount, channels);
    }
    std::vector<unsigned char> expanded;
    const unsigned char* data = pixels.get();
    int uploadChannels = channels;
    if (channels <= 2)
    {
        expanded = ExpandGrey(pixels.get(), pixelCount, channels);
        data = expanded.data();
        uploadChannels = channels + 2;
    }

    // The driver compresses on upload where it can (DXT1 without alpha, DXT5 with), which
    // quarters the memory of large sprite sheets.
    const bool hasAlpha = uploadChannels == 4;
    const GLenum format = hasAlpha ? GL_RGBA : GL_RGB;
    GLenum internalFormat = hasAlpha ? GL_RGBA8 : GL_RGB8;
    if (ContextOffersS3TC())
    {
        internalFormat =
            hasAlpha ? gl33ext::GL_COMPRESSED_RGBA_S3TC_DXT5_EXT : gl33ext::GL_COMPRESSED_RGB_S3TC_DXT1_EXT;
    }

    // Rows of an RGB image are tightly packed, not padded to four bytes.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE, data);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0); // no mipmaps
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    pixels.reset();
}

} // namespace Varn::Resource
