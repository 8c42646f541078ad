#pragma once
// A sound decoded into memory. `sound` is null when the file could not be loaded (or no
// output device exists); playing it is then a harmless no-op.
#include "resource/IResource.h"

struct Mix_Chunk;

namespace Varn::Resource
{

class Audio final : public IResource
{
public:
    Audio() = default;
    ~Audio() override; // frees the sound

    Mix_Chunk* sound = nullptr; // may be null
};

} // namespace Varn::Resource
