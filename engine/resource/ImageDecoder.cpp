#include "resource/ImageDecoder.h"

#include "resource/DdsReader.h"
#include "resource/TgaReader.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

namespace Varn::Resource
{

namespace
{

uint32_t BigEndian16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) << 8 | p[1];
}
int32_t LittleEndianSigned32(const unsigned char* p)
{
    const uint32_t value = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

bool StartsWith(const unsigned char* data, std::size_t size, const char* signature, std::size_t length)
{
    return size >= length && std::memcmp(data, signature, length) == 0;
}

// SDL's decoders allocate from the sizes in the header before they read a row, so the header
// is read here first and a file claiming too much never reaches them.
bool JpegSize(const unsigned char* data, std::size_t size, int64_t& width, int64_t& height)
{
    std::size_t at = 2; // after the start-of-image marker
    while (at + 4 <= size)
    {
        if (data[at] != 0xFF)
        {
            return false;
        }
        const unsigned char marker = data[at + 1];
        if (marker == 0xFF) // fill byte
        {
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) // markers without a length
        {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) // end of image, or a scan before any frame header
        {
            return false;
        }
        const std::size_t length = BigEndian16(data + at + 2);
        const bool frameHeader =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader)
        {
            if (at + 9 > size)
            {
                return false;
            }
            height = BigEndian16(data + at + 5);
            width = BigEndian16(data + at + 7);
            return true;
        }
        at += 2 + length;
    }
    return false;
}

bool BmpSize(const unsigned char* data, std::size_t size, int64_t& width, int64_t& height)
{
    if (size < 26)
    {
        return false;
    }
    if (LittleEndianSigned32(data + 14) == 12) // the old OS/2 header has 16-bit sizes
    {
        width = data[18] | data[19] << 8;
        height = data[20] | data[21] << 8;
        return true;
    }
    width = LittleEndianSigned32(data + 18);
    height = LittleEndianSigned32(data + 22);
    height = height < 0 ? -height : height; // negative: rows stored top first
    return true;
}

bool HasAlpha(const SDL_Surface& surface)
{
    if (SDL_ISPIXELFORMAT_ALPHA(surface.format->format) ||
        SDL_HasColorKey(const_cast<SDL_Surface*>(&surface)))
    {
        return true;
    }
    if (const SDL_Palette* palette = surface.format->palette)
    {
        for (int i = 0; i < palette->ncolors; ++i)
        {
            if (palette->colors[i].a != 255)
            {
                return true;
            }
        }
    }
    return false;
}

// Whatever layout the decoder chose (palette, BGR, 16-bit), out come tight RGB or RGBA rows.
bool FromSurface(SDL_Surface* surface, DecodedImage& image, std::string& error)
{
    const bool alpha = HasAlpha(*surface);
    SDL_Surface* converted =
        SDL_ConvertSurfaceFormat(surface, alpha ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24, 0);
    if (converted == nullptr)
    {
        error = std::string("cannot convert the decoded pixels: ") + SDL_GetError();
        return false;
    }
    const int32_t channels = alpha ? 4 : 3;
    bool ok = ImageDecoder::Allocate(image, converted->w, converted->h, channels, error);
    if (ok)
    {
        const std::size_t rowBytes =
            static_cast<std::size_t>(converted->w) * static_cast<std::size_t>(channels);
        const auto* source = static_cast<const unsigned char*>(converted->pixels);
        for (int y = 0; y < converted->h; ++y)
        {
            std::memcpy(image.pixels.get() + static_cast<std::size_t>(y) * rowBytes,
                        source + static_cast<std::size_t>(y) * static_cast<std::size_t>(converted->pitch),
                        rowBytes);
        }
    }
    SDL_FreeSurface(converted);
    return ok;
}

using SurfaceLoader = SDL_Surface* (*)(SDL_RWops*);

// PNG through libpng's own reader: no state shared between calls, so the loader's workers
// decode PNG files side by side. The file's channels are kept (grey, grey and alpha, RGB, RGBA;
// a palette or a transparent colour becomes RGB or RGBA, 16-bit channels become 8-bit).
bool DecodePng(const unsigned char* data, std::size_t size, DecodedImage& image, std::string& error)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, data, size) == 0)
    {
        error = std::string("PNG: ") + png.message;
        return false;
    }
    const bool colour = (png.format & PNG_FORMAT_FLAG_COLOR) != 0;
    const bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format =
        colour ? (alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB) : (alpha ? PNG_FORMAT_GA : PNG_FORMAT_GRAY);
    const int32_t channels = (colour ? 3 : 1) + (alpha ? 1 : 0);
    if (!ImageDecoder::CheckSize(png.width, png.height, error) ||
        !ImageDecoder::Allocate(image, static_cast<int32_t>(png.width), static_cast<int32_t>(png.height),
                                channels, error))
    {
        png_image_free(&png);
        return false;
    }
    if (png_image_finish_read(&png, nullptr, image.pixels.get(), 0, nullptr) == 0)
    {
        error = std::string("PNG: ") + png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

// SDL hands every surface of a pixel layout one shared format object, guarded by a lock inside
// SDL that the thread checker cannot see. JPEG and BMP files (the game ships none) therefore
// decode one at a time, so no SDL object is ever shared between two decodes.
std::mutex sdlDecodeMutex;

bool DecodeWithSdl(const unsigned char* data, std::size_t size, SurfaceLoader load, DecodedImage& image,
                   std::string& error)
{
    const std::lock_guard<std::mutex> lock(sdlDecodeMutex);
    // SDL keeps its error text in storage of the calling thread, which it frees by itself only
    // on threads it started; the loader's worker threads free theirs through this when they end.
    struct ThreadStorage
    {
        ~ThreadStorage() { SDL_TLSCleanup(); }
    };
    static thread_local ThreadStorage storage;
    (void)storage;

    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    SDL_Surface* surface = stream != nullptr ? load(stream) : nullptr;
    if (stream != nullptr)
    {
        SDL_RWclose(stream);
    }
    if (surface == nullptr)
    {
        error = SDL_GetError();
        return false;
    }
    const bool ok = FromSurface(surface, image, error);
    SDL_FreeSurface(surface);
    return ok;
}

SDL_Surface* LoadBmp(SDL_RWops* stream)
{
    return SDL_LoadBMP_RW(stream, 0);
}

using SizeProbe = bool (*)(const unsigned char*, std::size_t, int64_t&, int64_t&);

struct SdlFormat
{
    const char* signature;
    std::size_t signatureLength;
    const char* name;
    SizeProbe probe;
    SurfaceLoader load;
};

// Each format goes straight to its own loader: handing SDL2_image a file to guess would let
// any of its other loaders read bytes named as a sprite.
const SdlFormat SDL_FORMATS[] = {
    {"\xFF\xD8\xFF", 3, "JPEG", JpegSize, IMG_LoadJPG_RW},
    {"BM", 2, "BMP", BmpSize, LoadBmp},
};

const SdlFormat* SdlFormatOf(const unsigned char* data, std::size_t size)
{
    for (const SdlFormat& format : SDL_FORMATS)
    {
        if (StartsWith(data, size, format.signature, format.signatureLength))
        {
            return &format;
        }
    }
    return nullptr;
}

} // namespace

bool ImageDecoder::CheckSize(int64_t width, int64_t height, std::string& error)
{
    if (width <= 0 || height <= 0)
    {
        error = "the image is " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
        return false;
    }
    if (width > MAX_SIDE || height > MAX_SIDE || width * height > MAX_PIXELS)
    {
        error = "the image is " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, over the limit of " + std::to_string(MAX_SIDE) + " a side and " +
                std::to_string(MAX_PIXELS) + " in all";
        return false;
    }
    return true;
}

bool ImageDecoder::Allocate(DecodedImage& image, int32_t width, int32_t height, int32_t channels,
                            std::string& error)
{
    if (!CheckSize(width, height, error))
    {
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                              static_cast<std::size_t>(channels);
    image.pixels.reset(new (std::nothrow) unsigned char[bytes]);
    if (image.pixels == nullptr)
    {
        error = "out of memory for " + std::to_string(bytes) + " bytes of pixels";
        return false;
    }
    image.width = width;
    image.height = height;
    image.channels = channels;
    return true;
}

bool ImageDecoder::Decode(const unsigned char* data, std::size_t size, DecodedImage& image,
                          std::string& error)
{
    image = DecodedImage{};
    error.clear();
    if (size > MAX_FILE_BYTES)
    {
        error = "the file is larger than " + std::to_string(MAX_FILE_BYTES) + " bytes";
        return false;
    }
    bool ok = false;
    if (StartsWith(data, size, "DDS ", 4))
    {
        ok = DdsReader::Decode(data, size, image, error);
    }
    else if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8))
    {
        ok = DecodePng(data, size, image, error);
    }
    else if (const SdlFormat* format = SdlFormatOf(data, size))
    {
        int64_t width = 0, height = 0;
        if (!format->probe(data, size, width, height))
        {
            error = std::string(format->name) + " file without a readable image header";
        }
        else
        {
            ok = CheckSize(width, height, error) && DecodeWithSdl(data, size, format->load, image, error);
        }
    }
    else
    {
        ok = TgaReader::Decode(data, size, image, error);
    }
    if (!ok)
    {
        image = DecodedImage{};
    }
    return ok;
}

} // namespace Varn::Resource
