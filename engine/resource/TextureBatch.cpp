#include "resource/TextureBatch.h"

#include "resource/Texture2D.h"

namespace Varn::Resource
{

namespace
{

std::vector<Texture2D*> Claimed(std::vector<Texture2D*> textures)
{
    for (Texture2D* texture : textures)
    {
        texture->claimed = true;
    }
    return textures;
}

} // namespace

TextureBatch::TextureBatch(std::vector<Texture2D*> textures_, WorkerPool& pool)
    : textures(Claimed(std::move(textures_))),
      workers(pool.Start(textures.size(),
                         [list = textures](std::size_t begin, std::size_t end, std::size_t)
                         {
                             for (std::size_t i = begin; i < end; ++i)
                             {
                                 list[i]->Load();
                             }
                         })),
      nextDecode(WorkerPool::Slices(textures.size())[WorkerPool::CALLER_SLICE]), decodeEnd(textures.size())
{
}

TextureBatch::~TextureBatch()
{
    workers.Wait();
    for (Texture2D* texture : textures)
    {
        texture->claimed = false;
    }
}

const Texture2D* TextureBatch::Next(bool& uploaded)
{
    if (nextDecode < decodeEnd)
    {
        Texture2D* texture = textures[nextDecode++];
        texture->Load();
        uploaded = false;
        return texture;
    }
    if (!joined)
    {
        joined = true;
        workers.Join();
    }
    if (nextUpload < textures.size())
    {
        Texture2D* texture = textures[nextUpload++];
        texture->Upload();
        uploaded = true;
        return texture;
    }
    return nullptr;
}

} // namespace Varn::Resource
