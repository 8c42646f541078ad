#pragma once
// Brings a set of textures to the GPU: decodes them on the worker pool, the calling thread
// taking a slice of its own, then uploads them on the calling thread, which owns the OpenGL
// context. Decoding touches only each texture's own fields, so the slices share nothing.
#include <functional>
#include <vector>

namespace Varn
{
class WorkerPool;
}

namespace Varn::Resource
{

class Texture2D;

class TextureBatch
{
public:
    // Called on the calling thread after each texture of its own slice is decoded
    // (`uploaded` false) and after each upload (`uploaded` true): a loader keeps its screen
    // alive from there.
    using Tick = std::function<void(const Texture2D& texture, bool uploaded)>;

    static void DecodeAndUpload(const std::vector<Texture2D*>& textures, WorkerPool& workers, const Tick& tick);
};

} // namespace Varn::Resource
