#pragma once
// A sound decoded into memory. `sound` is null when the file could not be loaded (or no
// output device exists); playing it is then a harmless no-op.
#include "resource/IResource.h"

#include <string>

struct Mix_Chunk;

namespace Varn::Resource
{

class Audio final : public IResource
{
public:
    Audio() = default;
    ~Audio() override; // frees the sound

    // Decodes the file into memory; needs the mixer open. On success the new sound replaces
    // the old one (which is freed); on failure the old one stays and false is returned.
    bool Load(const std::string& path);

    Mix_Chunk* sound = nullptr; // may be null
};

} // namespace Varn::Resource
