// The first level played through its keyboard controls: the player runs, shoots the first
// grunt down and leaves by the exit, which records the progress and asks for the loading screen.
#include "support/DrawingTest.h"
#include "support/Environment.h"

#include "ecs/ScriptComponent.h"
#include "scene/JSONManager.h"
#include "script/ScriptSystem.h"

#include <SDL_mixer.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace Varn::Test
{

namespace
{
constexpr int64_t FRAME_NANOSECONDS = 16666667; // one step per frame
constexpr int KEY_RIGHT = 39;
constexpr int KEY_X = 88;
} // namespace

class Level1Play : public Drawing
{
protected:
    void SetUp() override
    {
        Drawing::SetUp();
        // Whole frames, as the game runs them: the enemies' stopwatches count displayed frames.
        engine->timer->SetClock(&clock);
        PlayAsANewPlayer();
        engine->jsonManager->LoadScene("Resources\\Scenes\\Level1.scene", false);
        Steps(30); // the player lands and the grunts start their patrol
    }

    Script::ScriptSystem& Scripts() { return *CurrentScene().scriptSystem; }

    void Steps(int count, int64_t frameNanoseconds = FRAME_NANOSECONDS)
    {
        for (int i = 0; i < count; ++i)
        {
            clock.AdvanceNanoseconds(frameNanoseconds);
            engine->Update();
        }
    }

    // How high the player rises in 1.5 s of frames of the given length, the jump key down for
    // `framesHeld` frames; 0 is a tap that goes down and up inside the first frame.
    float Jump(int64_t frameNanoseconds, int framesHeld)
    {
        constexpr int KEY_SPACE = 32;
        auto* body = Get("Player")->GetComponent<Transform>();
        const float start = body->position.y;
        float top = start;
        (framesHeld == 0 ? input->taps : input->state.keys).set(KEY_SPACE);
        for (int frame = 0; frame * frameNanoseconds < 1500000000; ++frame)
        {
            if (frame == framesHeld)
            {
                input->state.keys.reset(KEY_SPACE);
            }
            Steps(1, frameNanoseconds);
            top = std::max(top, body->position.y);
        }
        return top - start;
    }

    float X(const std::string& name) { return Get(name)->GetComponent<Transform>()->position.x; }

    ManualClock clock;
};

TEST_F(Level1Play, HoldingRightRunsAlongTheGroundAndTheExitRecordsProgressAndAsksForTheLoadingScreen)
{
    ECS::IEntity* player = Find("Player");
    ECS::IEntity* exit = Find("LevelExit");
    ASSERT_TRUE(player != nullptr && exit != nullptr);
    const float start = X("Player");
    const float standing = player->GetComponent<Transform>()->position.y;

    input->state.keys.set(KEY_RIGHT);
    Steps(60);
    input->state.keys.reset(KEY_RIGHT);

    // About 430 units a second, without sinking into or leaving the floor.
    EXPECT_GT(X("Player"), start + 350.0f);
    EXPECT_LT(X("Player"), start + 500.0f);
    EXPECT_NEAR(player->GetComponent<Transform>()->position.y, standing, 2.0f);
    EXPECT_FALSE(player->GetComponent<Transform>()->flipX);

    const Vector4 door = exit->GetComponent<Transform>()->position;
    player->GetComponent<Transform>()->position = {door.x, door.y, 2, 0};
    Steps(10);
    EXPECT_EQ(Scripts().requestedScene.find("Loading.scene"), std::string::npos)
        << "the exit sound plays before the level ends";
    Steps(60);
    EXPECT_EQ(Scripts().requestedScene, "Resources/Scenes/Loading.scene");
    auto& floats = Scripts().compiler.globals.floats;
    EXPECT_EQ(floats["NextLevel"], 2.0f);
    EXPECT_EQ(floats["FurthestLevel"], 2.0f);
    EXPECT_GT(floats["BestTime1"], 1.5f);
    EXPECT_LT(floats["BestTime1"], 2.5f);
    EXPECT_EQ(floats["LevelTime"], floats["BestTime1"])
        << "the clock stopped at the touch, which set the record";
    EXPECT_EQ(ContentErrors(engine->logger.Lines()), std::vector<std::string>{});
}

// A quick tap is a small hop whatever the frame rate: at 60 frames a second the key is down for
// five frames, at 10 it goes down and up inside one frame. Holding it jumps much higher. Then
// three shots to the right bring the first grunt down.
TEST_F(Level1Play, ATapHopsAsHighAtTenFramesASecondAsAtSixtyAndThreeShotsBringTheFirstGruntDown)
{
    const float at60 = Jump(FRAME_NANOSECONDS, 5);
    const float at10 = Jump(100000000, 0);
    const float held = Jump(FRAME_NANOSECONDS, 30);
    EXPECT_GT(at60, 40.0f) << "a tap still leaves the ground";
    EXPECT_NEAR(at10, at60, 3.0f);
    EXPECT_GT(held, at60 * 1.5f);

    ASSERT_NE(Find("Grunt1"), nullptr);
    ASSERT_GT(X("Grunt1"), X("Player"));
    for (int shot = 0; shot < 3; ++shot)
    {
        input->taps.set(KEY_X);
        Steps(20); // longer than the gun's cooldown
    }
    EXPECT_NE(Find("Grunt1"), nullptr) << "the grunt fades out before it goes";
    Steps(240);
    EXPECT_EQ(Find("Grunt1"), nullptr);
    EXPECT_EQ(Find("Bullet"), nullptr) << "every bullet ended on the grunt or ran out";
    EXPECT_EQ(ContentErrors(engine->logger.Lines()), std::vector<std::string>{});
}

using LevelsRun = Level1Play;

// Level 2's first grunt comes for a player waiting behind a crate, but its claw reaches no
// further than the swing shows: nothing lands through the crate, and a player in front is hit.
// The level ends on a raised floor; a running jump at its door must end the level, not carry the
// player over into the dead end behind it.
TEST_F(LevelsRun, AGruntStrikesOnlyWhatItsClawReachesAndARunningJumpAtTheExitEndsTheLevel)
{
    engine->jsonManager->LoadScene("Resources\\Scenes\\Level2.scene", false);
    ECS::IEntity* player = Find("Player");
    ECS::IEntity* crate = Find("Crate1");
    ASSERT_TRUE(player != nullptr && crate != nullptr && Find("Grunt1") != nullptr);
    auto health = [&] { return player->GetComponent<ECS::ScriptComponent>()->floatList["PlayerHealth"]; };
    const float crateX = crate->GetComponent<Transform>()->position.x;
    player->GetComponent<Transform>()->position = {crateX - 80.0f, 60.0f, 2.0f, 0.0f};

    Steps(60 * 10);
    EXPECT_LT(X("Grunt1"), crateX + 200.0f) << "the grunt came to the crate";
    EXPECT_GT(X("Grunt1"), crateX) << "and stayed on its side";
    EXPECT_EQ(health(), 100.0f) << "no blow reaches through the crate";

    // In front of the claw, then behind the grunt: it turns round and strikes either way.
    for (const float side : {-50.0f, 50.0f})
    {
        const float before = health();
        player->GetComponent<Transform>()->position = {X("Grunt1") + side, 60.0f, 2.0f, 0.0f};
        Steps(90);
        EXPECT_LT(health(), before) << "side " << side;
        EXPECT_EQ(Get("Grunt1")->GetComponent<Transform>()->flipX, side < 0.0f) << "it faces the player";
    }
    EXPECT_EQ(ContentErrors(engine->logger.Lines()), std::vector<std::string>{});

    const float door = X("LevelExit");
    player->GetComponent<Transform>()->position = {door - 500.0f, 190.0f, 2.0f, 0.0f};
    Steps(30); // landed
    float top = 0.0f;
    bool reached = false;
    input->state.keys.set(KEY_RIGHT);
    for (int step = 0; step < 60 * 3 && !reached; ++step)
    {
        if (X("Player") > door - 140.0f)
        {
            input->state.keys.set(32); // jump and hold it
        }
        Steps(1);
        top = std::max(top, player->GetComponent<Transform>()->position.y);
        reached = Get("LevelExit")->GetComponent<ECS::ScriptComponent>()->boolList["reached"];
    }
    ASSERT_TRUE(reached) << "the player passed the door at x " << X("Player") - door << " from it, " << top
                         << " high";
    EXPECT_GT(top, 300.0f) << "the jump was a real one";
    EXPECT_LT(X("Player"), door + 120.0f);
}

// Holds the sound card to the game's frames. The audio device stays paused while the game runs,
// so nothing is mixed behind its back; before each frame the mixer is let run until every
// buffer that ends before the frame begins is mixed. A buffer covers 2048 sample frames and a
// displayed frame 735, so the sounds of a frame land in the buffer that covers it, however fast
// or slow the build runs. While paused, SDL writes buffers of silence, which the reader skips.
// Pausing rather than holding the device lock keeps that lock out of the game's frames.
class Lockstep
{
public:
    static constexpr int64_t BUFFER = 2048, FRAME = 44100 / 60;

    Lockstep()
    {
        // SDL_mixer opens its device without saying which: the one device playing is it.
        for (SDL_AudioDeviceID id = 1; id < 32 && device == 0; ++id)
        {
            device = SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING ? id : 0;
        }
        SDL_PauseAudioDevice(device, 1);
        Mix_SetPostMix(&Lockstep::AfterMix, this);
    }
    ~Lockstep()
    {
        Mix_SetPostMix(nullptr, nullptr);
        SDL_PauseAudioDevice(device, 0);
    }
    bool Found() const { return device != 0; }
    // Before frame `frame` (from 1).
    void BeforeFrame(int64_t frame)
    {
        const int64_t needed = (frame - 1) * FRAME / BUFFER;
        std::unique_lock lock(mutex);
        if (mixed >= needed)
        {
            return;
        }
        lock.unlock();
        SDL_PauseAudioDevice(device, 0);
        lock.lock();
        changed.wait(lock, [&] { return mixed >= needed; });
        lock.unlock();
        SDL_PauseAudioDevice(device, 1);
    }

private:
    // Called on the audio thread after each buffer is mixed.
    static void AfterMix(void* self, Uint8*, int)
    {
        auto& step = *static_cast<Lockstep*>(self);
        const std::lock_guard lock(step.mutex);
        ++step.mixed;
        step.changed.notify_all();
    }

    SDL_AudioDeviceID device = 0;
    std::mutex mutex;
    std::condition_variable changed;
    int64_t mixed = 0; // buffers mixed since the hook was set
};

// Twenty seconds of Level 2 (music, shots, smashes, jumps, crates, a grunt, a fall) mixed
// through the disk driver in step with the game's frames: no sample may reach full scale.
TEST_F(LevelsRun, TheMixOfALevelNeverReachesFullScale)
{
    ScratchFolder folder;
    const std::string file = folder.Path("mix.raw");
    engine->resources->UnloadAllAudio();
    // The pause after each buffer written lets the game pause the device again before the next.
    ReopenOn(*engine->audio, "disk", file, 5);
    ASSERT_TRUE(engine->audio->IsOpen());
    // From before the level starts its music, so the music too starts in step.
    auto lockstep = std::make_unique<Lockstep>();
    ASSERT_TRUE(lockstep->Found());
    engine->jsonManager->LoadScene("Resources\\Scenes\\Level2.scene", false);
    ASSERT_NE(Find("Player"), nullptr);

    input->state.keys.set(KEY_RIGHT);
    for (int frame = 1; frame <= 60 * 20; ++frame)
    {
        if (frame % 10 == 0)
        {
            const int keys[] = {KEY_X, 67, 32}; // shoot, smash (C), jump (Space)
            input->taps.set(keys[frame / 10 % 3]);
        }
        lockstep->BeforeFrame(frame);
        Steps(1);
    }
    input->state.keys.reset(KEY_RIGHT);
    lockstep.reset();
    engine->audio->Close(); // the last buffers reach the file

    std::ifstream in(file, std::ios::binary);
    std::vector<int16_t> written(std::filesystem::file_size(file) / 2);
    in.read(reinterpret_cast<char*>(written.data()), static_cast<std::streamsize>(written.size() * 2));
    // Buffers of pure silence are the pauses; every buffer of the level holds its music.
    std::vector<int16_t> samples;
    constexpr std::size_t BUFFER_SAMPLES = Lockstep::BUFFER * 2; // stereo
    for (std::size_t start = 0; start + BUFFER_SAMPLES <= written.size(); start += BUFFER_SAMPLES)
    {
        const auto begin = written.begin() + static_cast<std::ptrdiff_t>(start);
        const auto end = begin + static_cast<std::ptrdiff_t>(BUFFER_SAMPLES);
        if (std::any_of(begin, end, [](int16_t sample) { return sample != 0; }))
        {
            samples.insert(samples.end(), begin, end);
        }
    }
    int peak = 0;
    std::size_t fullScale = 0, loud = 0;
    for (const int16_t sample : samples)
    {
        const int magnitude = sample < 0 ? -sample : sample;
        peak = std::max(peak, magnitude);
        fullScale += magnitude >= 32767 ? 1 : 0;
        loud += magnitude >= 3277 ? 1 : 0; // -20 dBFS
    }
    EXPECT_GT(loud, samples.size() / 100) << "the level was heard: music and effects played";
    RecordProperty("peak", peak);
    EXPECT_EQ(fullScale, 0u) << "peak " << peak << " of 32767 in " << samples.size() << " samples";
}

} // namespace Varn::Test
