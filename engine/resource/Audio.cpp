#include "resource/Audio.h"

#include "core/FilePath.h"

#include <SDL_mixer.h>

namespace Varn::Resource
{

Audio::~Audio()
{
    Mix_FreeChunk(sound); // null is allowed; safe after the mixer has closed
}

bool Audio::Load(const std::string& path)
{
    // Mix_LoadWAV decodes every format the mixer knows (".ogg" included), not only WAV; it
    // fails while the mixer is closed, because it converts to the output format.
    Mix_Chunk* loaded = Mix_LoadWAV(NativePath(path).c_str());
    if (loaded == nullptr)
    {
        return false;
    }
    Mix_FreeChunk(sound);
    sound = loaded;
    return true;
}

} // namespace Varn::Resource
