#pragma once
// Brings a set of textures to the GPU a piece at a time, so a scene loader can show frames in
// between: the worker pool decodes three slices in the background while the calling thread
// decodes the fourth, one texture per call, then uploads every texture, one per call, on the
// calling thread, which owns the OpenGL context. Decoding touches only each texture's own
// fields, so the slices share nothing; while the batch lives its textures are `claimed`, and
// the main thread leaves them alone.
#include "core/WorkerPool.h"

#include <cstddef>
#include <vector>

namespace Varn::Resource
{

class Texture2D;

class TextureBatch
{
public:
    // Claims the textures and starts the workers' slices.
    TextureBatch(std::vector<Texture2D*> textures, WorkerPool& workers);
    ~TextureBatch(); // waits for the workers, then releases the claim
    TextureBatch(const TextureBatch&) = delete;
    TextureBatch& operator=(const TextureBatch&) = delete;

    // The next piece of the calling thread's work: decodes the next texture of its own slice,
    // or, once those are decoded, waits for the workers and uploads the next texture. Returns
    // the texture worked on, with `uploaded` saying which piece it was; null once all are up.
    const Texture2D* Next(bool& uploaded);

private:
    std::vector<Texture2D*> textures;
    WorkerPool::Fork workers;
    std::size_t nextDecode;     // in the calling thread's slice
    std::size_t decodeEnd;      // end of that slice
    std::size_t nextUpload = 0; // uploads start once every slice is decoded
    bool joined = false;
};

} // namespace Varn::Resource
