#include "script/SoundActions.h"

#include "resource/AudioManager.h"
#include "resource/ResourceManager.h"
#include "script/ActionSupport.h"
#include "script/ORINCompiler.h"

namespace Varn::Script
{

namespace
{

using ECS::IEntity;

// "PlaySound <path> <second group> <loop> <fade in>".
void PlaySound(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    const std::string path = r.String(entity, params[0], 0, false, hit);
    const bool secondGroup = r.Bool(entity, params[1], 1, false, hit);
    const bool loop = r.Bool(entity, params[2], 2, false, hit);
    const bool fadeIn = r.Bool(entity, params[3], 3, false, hit);
    const Services& engine = compiler.services;
    engine.audio.PlaySound(engine.resources.LoadAudio(path), secondGroup, loop, fadeIn);
}

// "SetVolume Music|Effects <0 to 1>": music plays in the second group, effects in the first.
void SetVolume(IEntity* entity, const Params& params, ORINCompiler& compiler, std::size_t hit)
{
    References& r = compiler.references;
    const std::string group = r.String(entity, params[0], 0, false, hit);
    if (group != "Music" && group != "Effects")
    {
        FailStatement();
    }
    compiler.services.audio.SetVolume(group == "Music", r.Float(entity, params[1], 1, false, hit));
}

void StopSound(IEntity*, const Params&, ORINCompiler& compiler, std::size_t)
{
    compiler.services.audio.StopSound();
}

} // namespace

void SoundActions::Register(ActionTable& table)
{
    table["PlaySound"] = {&PlaySound, Takes({4})};
    table["StopSound"] = {&StopSound};
    table["SetVolume"] = {&SetVolume, Takes({2})};
}

} // namespace Varn::Script
