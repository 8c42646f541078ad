#include "resource/TextureBatch.h"

#include "core/WorkerPool.h"
#include "resource/Texture2D.h"

namespace Varn::Resource
{

void TextureBatch::DecodeAndUpload(const std::vector<Texture2D*>& textures, WorkerPool& workers, const Tick& tick)
{
    workers.ParallelFor(textures.size(),
                        [&](std::size_t begin, std::size_t end, std::size_t slice)
                        {
                            for (std::size_t i = begin; i < end; ++i)
                            {
                                textures[i]->Load();
                                if (slice == WorkerPool::CALLER_SLICE)
                                {
                                    tick(*textures[i], false);
                                }
                            }
                        });
    for (Texture2D* texture : textures)
    {
        texture->Upload();
        tick(*texture, true);
    }
}

} // namespace Varn::Resource
