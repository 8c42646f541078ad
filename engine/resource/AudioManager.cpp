#include "resource/AudioManager.h"

#include "resource/Audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <utility>

namespace Varn::Resource
{

void AudioManager::Open()
{
    if (open)
    {
        return;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        return;
    }
    if (Mix_OpenAudio(FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO); // no output device: run silently
        return;
    }
    open = true;
    Mix_AllocateChannels(CHANNELS);
    primaryGroup.volume = masterVolume * primaryVolume;
    secondaryGroup.volume = masterVolume * secondaryVolume;
}

void AudioManager::Close()
{
    if (open)
    {
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        open = false;
    }
    for (ChannelGroup* group : {&primaryGroup, &secondaryGroup})
    {
        group->channels.clear();
        group->paused = false;
    }
    recentStarts.clear();
}

float AudioManager::FadeVolume(double seconds)
{
    static constexpr std::array<std::pair<double, float>, 6> curve = {
        {{0.0, 0.0f}, {3.0, 0.05f}, {4.0, 0.1f}, {5.0, 0.2f}, {6.0, 0.5f}, {7.0, 1.0f}}};
    if (seconds <= 0.0)
    {
        return 0.0f;
    }
    for (std::size_t i = 1; i < curve.size(); ++i)
    {
        if (seconds < curve[i].first)
        {
            const auto [t0, v0] = curve[i - 1];
            const auto [t1, v1] = curve[i];
            return v0 + static_cast<float>((seconds - t0) / (t1 - t0)) * (v1 - v0);
        }
    }
    return 1.0f;
}

void AudioManager::SetVolume(bool secondary, float volume)
{
    volume = std::clamp(volume, 0.0f, 1.0f);
    (secondary ? secondaryVolume : primaryVolume) = volume;
    ChannelGroup& group = Group(secondary);
    group.volume = masterVolume * volume;
    if (open)
    {
        for (const PlayingChannel& playing : group.channels)
        {
            ApplyVolume(group, playing);
        }
    }
}

void AudioManager::ApplyVolume(const ChannelGroup& group, const PlayingChannel& playing) const
{
    const float fade = playing.fading ? FadeVolume(playing.elapsed) : 1.0f;
    Mix_Volume(playing.channel, static_cast<int>(static_cast<float>(MIX_MAX_VOLUME) * group.volume * fade));
}

void AudioManager::Forget(int channel)
{
    for (ChannelGroup* group : {&primaryGroup, &secondaryGroup})
    {
        std::erase_if(group->channels, [channel](const PlayingChannel& p) { return p.channel == channel; });
    }
}

void AudioManager::PlaySound(const Audio* sound, bool useSecondaryGroup, bool loop, bool fadeIn)
{
    if (!open || sound == nullptr || sound->sound == nullptr)
    {
        return;
    }
    // The same start twice within one mixing buffer would play as one sound at double amplitude
    // (two crates breaking under one smash) and clip the mix; the second adds nothing audible.
    const Start start{sound, useSecondaryGroup, loop, fadeIn, 0.0};
    if (std::find(recentStarts.begin(), recentStarts.end(), start) != recentStarts.end())
    {
        return;
    }
    // The loop mode travels with each play, so one resource can loop once and play once later.
    const int channel = Mix_PlayChannel(-1, sound->sound, loop ? -1 : 0);
    if (channel < 0)
    {
        return; // every channel busy
    }
    Forget(channel);
    ChannelGroup& group = Group(useSecondaryGroup);
    PlayingChannel playing{channel, fadeIn, 0.0};
    ApplyVolume(group, playing);
    if (group.paused)
    {
        Mix_Pause(channel);
    }
    group.channels.push_back(playing);
    recentStarts.push_back(start);
}

void AudioManager::Update(double frameSeconds)
{
    if (!open)
    {
        return;
    }
    for (Start& start : recentStarts)
    {
        start.age += frameSeconds;
    }
    std::erase_if(recentStarts, [](const Start& start) { return start.age >= REPEAT_WINDOW; });
    for (ChannelGroup* group : {&primaryGroup, &secondaryGroup})
    {
        std::erase_if(group->channels, [](const PlayingChannel& p) { return Mix_Playing(p.channel) == 0; });
        if (group->paused)
        {
            continue;
        }
        for (PlayingChannel& playing : group->channels)
        {
            if (playing.fading)
            {
                playing.elapsed += frameSeconds;
                ApplyVolume(*group, playing);
            }
        }
    }
}

void AudioManager::Stop(ChannelGroup& group)
{
    for (const PlayingChannel& playing : group.channels)
    {
        Mix_HaltChannel(playing.channel);
    }
    group.channels.clear();
}

void AudioManager::StopSound()
{
    if (open)
    {
        Stop(primaryGroup);
        Stop(secondaryGroup);
    }
}

void AudioManager::SetPaused(ChannelGroup& group, bool paused)
{
    group.paused = paused;
    for (const PlayingChannel& playing : group.channels)
    {
        paused ? Mix_Pause(playing.channel) : Mix_Resume(playing.channel);
    }
}

void AudioManager::PauseAll()
{
    if (open)
    {
        SetPaused(primaryGroup, true);
        SetPaused(secondaryGroup, true);
    }
}

void AudioManager::ResumeAll()
{
    if (open)
    {
        SetPaused(primaryGroup, false);
        SetPaused(secondaryGroup, false);
    }
}

int AudioManager::PlayingCount(bool secondaryGroup_) const
{
    const ChannelGroup& group = secondaryGroup_ ? secondaryGroup : primaryGroup;
    return static_cast<int>(std::count_if(group.channels.begin(), group.channels.end(),
                                          [](const PlayingChannel& p)
                                          { return Mix_Playing(p.channel) != 0; }));
}

} // namespace Varn::Resource
