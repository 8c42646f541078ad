#pragma once
// An image file decoded into memory (Load, any thread) and then uploaded as an OpenGL texture
// (Upload, main thread), after which the pixels are freed.
#include "resource/IResource.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Varn
{
class Logger;
}

namespace Varn::Resource
{

class Texture2D final : public IResource
{
public:
    explicit Texture2D(Logger& logger) : logger(logger) {} // hears about files that fail
    ~Texture2D() override;                                 // deletes the OpenGL texture, if any

    // Decodes `path` with its own channel count; no OpenGL call, so any thread may call it.
    // Does nothing once uploaded. A damaged or oversized file logs its failure and leaves no pixels.
    void Load();
    // Creates the OpenGL texture from the pixels and frees them; does nothing without pixels
    // or without a current OpenGL context (the pixels then stay for a later Upload).
    void Upload();

    int32_t width = 0, height = 0, channels = 0;
    std::unique_ptr<unsigned char[]> pixels; // null when not decoded or already uploaded
    std::string path;
    uint32_t textureId = 0; // 0 while not uploaded
    // In a TextureBatch: its pixels may be being written on a worker, so the main thread must
    // neither decode, upload nor delete it until the batch is done with it.
    bool claimed = false;

private:
    Logger& logger;
};

} // namespace Varn::Resource
