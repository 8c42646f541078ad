// Sounds decoded into memory by the mixer, registered even when they cannot be loaded.
#include "resource/Audio.h"
#include "resource/AudioManager.h"
#include "resource/ResourceTestSupport.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace Varn::Test
{
namespace
{
const std::string TONE = std::string(CORVALUNE_SOURCE_DIR) + "/tests/resource/data/tone.ogg"; // 0.25 s
}

class SoundLoading : public EngineTest
{
protected:
    // The engine's audio manager has the mixer open on the dummy driver.
    void OpenMixer()
    {
        ASSERT_TRUE(engine->audio->IsOpen());
        Mix_QuerySpec(&frequency, &format, &channels);
    }
    // Bytes of one second of output in the mixer's format.
    int BytesPerSecond() const { return frequency * channels * int(SDL_AUDIO_BITSIZE(format) / 8); }

    int frequency = 0, channels = 0;
    Uint16 format = 0;
};

TEST_F(SoundLoading, OggAndWavDecodeIntoMemoryInTheMixersFormat)
{
    OpenMixer();
    ScratchFolder folder{ScratchFolder::ENTER};
    folder.Write("Resources/Sounds/click.wav", Wav(frequency, channels, 4410));
    const Resource::Audio* tone = engine->resources->LoadAudio(TONE);
    const Resource::Audio* click = engine->resources->LoadAudio("Resources\\Sounds\\click.wav");
    const Resource::Audio* missing = engine->resources->LoadAudio("Resources\\Sounds\\absent.ogg");

    ASSERT_NE(tone->sound, nullptr);
    EXPECT_NEAR(double(tone->sound->alen), 0.25 * BytesPerSecond(), 0.05 * BytesPerSecond());
    ASSERT_NE(click->sound, nullptr);
    EXPECT_EQ(int(click->sound->alen), 4410 * BytesPerSecond() / frequency);
    EXPECT_EQ(missing->sound, nullptr);
    EXPECT_EQ(engine->resources->sounds.size(), 3u);
    EXPECT_EQ(engine->logger.Lines(),
              std::vector<std::string>{"Error: Failed To Load Sound:Resources\\Sounds\\absent.ogg"});
}

TEST_F(SoundLoading, DroppedSoundIsReadAgainIntoTheSameAudio)
{
    OpenMixer();
    ScratchFolder folder{ScratchFolder::ENTER};
    const std::string path = "Resources\\Sounds\\hit.wav";
    folder.Write(path, Wav(frequency, channels, 1000));
    engine->resources->ReloadDroppedFile(DROPPED_FILE::SOUND, path);
    Resource::Audio* audio = engine->resources->sounds.at(path).get();
    ASSERT_NE(audio->sound, nullptr);
    const Uint32 shortLength = audio->sound->alen;

    folder.Write(path, Wav(frequency, channels, 3000));
    engine->resources->ReloadDroppedFile(DROPPED_FILE::SOUND, path);
    EXPECT_EQ(engine->resources->sounds.at(path).get(), audio);
    EXPECT_EQ(audio->sound->alen, 3 * shortLength);

    // A file that is gone leaves the sound that played before.
    folder.Remove(path);
    engine->resources->ReloadDroppedFile(DROPPED_FILE::SOUND, path);
    EXPECT_EQ(audio->sound->alen, 3 * shortLength);
    EXPECT_EQ(engine->logger.Lines(), std::vector<std::string>{"Error: Failed To Load Sound:" + path});
}

} // namespace Varn::Test
