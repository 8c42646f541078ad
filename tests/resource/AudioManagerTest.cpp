#include "resource/AudioManager.h"
#include "resource/Audio.h"
#include "resource/ResourceTestSupport.h"
#include "support/Environment.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace Varn::Test
{

namespace
{
const std::string TONE = std::string(CORVALUNE_SOURCE_DIR) + "/tests/resource/data/tone.ogg"; // 0.25 s

void Wait(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The 16-bit samples the disk driver has written to `file` past its first `from` bytes.
std::vector<int16_t> SamplesAfter(const std::string& file, std::size_t from)
{
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    std::vector<int16_t> samples;
    for (int16_t sample = 0; in.read(reinterpret_cast<char*>(&sample), sizeof sample);)
    {
        samples.push_back(sample);
    }
    return samples;
}
} // namespace

class SoundOutput : public EngineTest
{
protected:
    Resource::AudioManager& Audio() { return *engine->audio; }
    const Resource::Audio* Tone() { return engine->resources->LoadAudio(TONE); }
    // Reopens the output on the disk driver, writing to `file`.
    void OnDisk()
    {
        engine->resources->UnloadAllAudio();
        ReopenOn(Audio(), "disk", file);
        ASSERT_TRUE(Audio().IsOpen());
    }

    static constexpr std::size_t BUFFER = 2048 * 2 * 2; // frames x channels x 16-bit samples
    ScratchFolder folder;
    const std::string file = folder.Path("out.raw");
};

// Sounds decoded into memory by the mixer (open on the dummy driver) in its own format, and
// registered even when they cannot be loaded.
TEST_F(SoundOutput, OggAndWavDecodeIntoMemoryAndADroppedSoundIsReadAgainIntoTheSameAudio)
{
    ASSERT_TRUE(Audio().IsOpen());
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    const int bytesPerSecond = frequency * channels * int(SDL_AUDIO_BITSIZE(format) / 8);
    ScratchFolder content{ScratchFolder::ENTER};
    content.Write("Resources/Sounds/click.wav", Wav(frequency, channels, 4410));
    const Resource::Audio* tone = Tone();
    const Resource::Audio* click = engine->resources->LoadAudio("Resources\\Sounds\\click.wav");
    const Resource::Audio* missing = engine->resources->LoadAudio("Resources\\Sounds\\absent.ogg");
    ASSERT_NE(tone->sound, nullptr);
    EXPECT_NEAR(double(tone->sound->alen), 0.25 * bytesPerSecond, 0.05 * bytesPerSecond);
    ASSERT_NE(click->sound, nullptr);
    EXPECT_EQ(int(click->sound->alen), 4410 * bytesPerSecond / frequency);
    EXPECT_EQ(missing->sound, nullptr);
    EXPECT_EQ(engine->resources->sounds.size(), 3u);
    EXPECT_EQ(engine->logger.Lines(),
              std::vector<std::string>{"Error: Failed To Load Sound:Resources\\Sounds\\absent.ogg"});

    engine->logger.Clear();
    const std::string path = "Resources\\Sounds\\hit.wav";
    content.Write(path, Wav(frequency, channels, 1000));
    engine->resources->ReloadDroppedFile(DROPPED_FILE::SOUND, path);
    Resource::Audio* audio = engine->resources->sounds.at(path).get();
    ASSERT_NE(audio->sound, nullptr);
    const Uint32 shortLength = audio->sound->alen;
    content.Write(path, Wav(frequency, channels, 3000));
    engine->resources->ReloadDroppedFile(DROPPED_FILE::SOUND, path);
    EXPECT_EQ(engine->resources->sounds.at(path).get(), audio);
    EXPECT_EQ(audio->sound->alen, 3 * shortLength);
    // A file that is gone leaves the sound that played before.
    content.Remove(path);
    engine->resources->ReloadDroppedFile(DROPPED_FILE::SOUND, path);
    EXPECT_EQ(audio->sound->alen, 3 * shortLength);
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Failed To Load Sound:" + path});
}

// Two crates breaking under one smash start the same sample together: one copy plays. The same
// sound later, or in the other group, plays as asked.
TEST_F(SoundOutput, AStartRepeatedWithinOneBufferPlaysOnceAndAFadeWaitsWhileFocusPausesBothGroups)
{
    ASSERT_TRUE(Audio().IsOpen());
    Audio().PlaySound(Tone(), false, false, false);
    Audio().Update(0.02);
    Audio().PlaySound(Tone(), false, false, false);
    EXPECT_EQ(Audio().PlayingCount(false), 1);
    Audio().PlaySound(Tone(), true, false, false);
    EXPECT_EQ(Audio().PlayingCount(true), 1) << "the other group is another start";

    Audio().Update(0.04); // 0.06 s since the first start
    Audio().PlaySound(Tone(), false, false, false);
    EXPECT_EQ(Audio().PlayingCount(false), 2);
    Audio().StopSound();

    // A fade rises from silence to full over seven seconds, but waits while the game is out of
    // focus.
    const double seconds[] = {0.0, 1.5, 3.0, 5.0, 5.5, 7.0, 60.0};
    const float volumes[] = {0.0f, 0.025f, 0.05f, 0.2f, 0.35f, 1.0f, 1.0f};
    for (int i = 0; i < 7; ++i)
    {
        EXPECT_FLOAT_EQ(Resource::AudioManager::FadeVolume(seconds[i]), volumes[i]) << seconds[i] << " s";
    }
    Audio().PlaySound(Tone(), false, true, true);
    Audio().PlaySound(Tone(), true, true, false);
    Audio().Update(3.0);
    EXPECT_EQ(Mix_Volume(0, -1), static_cast<int>(MIX_MAX_VOLUME * 0.05f));
    EXPECT_EQ(Mix_Volume(1, -1), MIX_MAX_VOLUME);

    engine->window->SetActive(false);
    EXPECT_EQ(Mix_Paused(-1), 2);
    Audio().Update(10.0);
    EXPECT_EQ(Mix_Volume(0, -1), static_cast<int>(MIX_MAX_VOLUME * 0.05f)) << "paused sounds do not fade";
    Audio().PlaySound(Tone(), false, false, false);
    EXPECT_EQ(Mix_Paused(-1), 3) << "a sound started in the background waits too";

    engine->window->SetActive(true);
    EXPECT_EQ(Mix_Paused(-1), 0);
    Audio().Update(2.0);
    EXPECT_EQ(Mix_Volume(0, -1), static_cast<int>(MIX_MAX_VOLUME * 0.2f));
}

TEST_F(SoundOutput, WithoutAnOutputTheSoundIsLoggedOnceAndEveryCallIsHarmless)
{
    ReopenOn(Audio(), "no-such-driver"); // a machine without any output device
    EXPECT_FALSE(Audio().IsOpen());
    const Resource::Audio* tone = Tone();
    ASSERT_NE(tone, nullptr);
    EXPECT_EQ(tone->sound, nullptr);
    EXPECT_EQ(Tone(), tone);
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Failed To Load Sound:" + TONE});
    Audio().PlaySound(tone, false, true, true);
    Audio().PlaySound(nullptr, true, false, false);
    Audio().Update(1.0);
    Audio().PauseAll();
    Audio().ResumeAll();
    Audio().StopSound();
    EXPECT_EQ(Audio().PlayingCount(false), 0);
    engine->Update();
}

// A played sound reaches the output; a group's volume scales what is heard at once, for sounds
// already playing, and leaves the other group as it was.
TEST_F(SoundOutput, PlayedSoundReachesTheOutputScaledByItsGroupsVolume)
{
    ASSERT_NO_FATAL_FAILURE(OnDisk());
    auto nonSilent = [this](std::size_t from)
    {
        const std::vector<int16_t> samples = SamplesAfter(file, from);
        return static_cast<std::size_t>(
            std::count_if(samples.begin(), samples.end(), [](int16_t s) { return s != 0; }));
    };
    // The loudest sample written after `from` bytes, once 150 ms more have been mixed.
    auto peakAfter = [this](std::size_t from)
    {
        Wait(150);
        int peak = 0;
        for (const int16_t sample : SamplesAfter(file, from))
        {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        return peak;
    };
    Wait(100);
    EXPECT_EQ(nonSilent(0), 0u) << "silence before anything plays";

    Audio().PlaySound(Tone(), true, true, false);
    const int full = peakAfter(0);
    ASSERT_GT(full, 1000);
    EXPECT_GT(nonSilent(0), 1000u);
    Audio().SetVolume(true, 0.25f);
    const int quarter = peakAfter(std::filesystem::file_size(file) + 2 * BUFFER);
    EXPECT_NEAR(quarter, full / 4, full / 20);
    EXPECT_FLOAT_EQ(Audio().primaryVolume, 1.0f);
    Audio().SetVolume(true, 7.0f); // out of range: kept to full
    EXPECT_FLOAT_EQ(Audio().secondaryVolume, 1.0f);
    EXPECT_NEAR(peakAfter(std::filesystem::file_size(file) + 2 * BUFFER), full, full / 20);
}

} // namespace Varn::Test
