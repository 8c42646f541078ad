#include "core/Replay.h"
#include "content/PlayBot.h"
#include "scene/JSONManager.h"
#include "support/DrawingTest.h"

#include <fstream>
#include <sstream>

namespace Varn::Test
{

namespace
{
constexpr const char* LEVEL = "Resources\\Scenes\\Level1.scene";
constexpr uint32_t SEED = 77;
} // namespace

class Replaying : public Drawing
{
protected:
    // Level 1 from its start, with the recorded run's seed.
    void Begin(std::unique_ptr<Replay> replay, std::unique_ptr<IInputSource> live)
    {
        ASSERT_NE(replay, nullptr) << problem;
        engine->random.Seed(SEED);
        engine->jsonManager->LoadScene(LEVEL, false);
        engine->UseReplay(std::move(replay), std::move(live));
    }

    float PlayerX() const { return Get("Player")->GetComponent<ECS::Transform>()->position.x; }

    std::string path = (folder.root / "level1.replay").string();
    std::string problem;
};

// The bot plays Level 1 while frames come at uneven times, some with no step and some with
// several; the recording then plays back under a clock that runs at quite another pace, with
// devices that hold keys of their own, and everything ends where it did.
TEST_F(Replaying, ARecordedRunOfLevel1EndsWhereItDidAndADamagedFileSaysWhereItWentWrong)
{
    ManualClock clock;
    auto botInput = std::make_unique<ScriptedInput>();
    PlayBot bot(*engine, *botInput);
    const Replay::Header header{SEED, LEVEL, engine->window->viewportWidth, engine->window->viewportHeight};
    Begin(Replay::Record(path, header, problem, &clock), std::move(botInput));
    const float startX = PlayerX();
    const double frameMilliseconds[] = {9.0, 16.7, 23.0, 41.0, 3.0};
    for (int frame = 0; frame < 240; ++frame)
    {
        bot.Act();
        clock.AdvanceMilliseconds(frameMilliseconds[frame % 5]);
        engine->Update();
    }
    const std::string recordedHash = engine->PositionsHash();
    const int recordedSteps = engine->replay->Steps();
    EXPECT_GT(PlayerX(), startX + 300.0f) << "the bot ran on";
    EXPECT_GT(recordedSteps, 240);
    engine->replay->Flush();

    const auto play = [&](const std::string& file)
    {
        Scene::Engine::Shutdown();
        StartEngine();
        ManualClock otherClock;
        otherClock.now = 5;
        auto devices = std::make_unique<ScriptedInput>();
        devices->state.keys.set(37); // left, held all along: never seen while the replay plays
        Begin(Replay::Play(file, problem, &otherClock), std::move(devices));
        for (int frame = 0; frame < 1000 && !engine->replay->Ended(); ++frame)
        {
            otherClock.AdvanceMilliseconds(50.0);
            engine->Update();
        }
        EXPECT_TRUE(engine->replay->Ended());
        const std::string hash = engine->PositionsHash();
        // Past the end the devices and the clock take over, and time runs on.
        otherClock.AdvanceMilliseconds(16.7);
        engine->Update();
        EXPECT_GE(engine->timer->deltaTime, 0.0);
        EXPECT_TRUE(engine->input->IsKeyDown(37));
        return hash;
    };
    EXPECT_EQ(play(path), recordedHash);
    EXPECT_EQ(engine->replay->Problem(), "");

    // A step's input turned into a clock reading: playback stops there and says where.
    std::ifstream in(path);
    std::stringstream damaged;
    int line = 0, cut = 0;
    for (std::string text; std::getline(in, text);)
    {
        ++line;
        if (cut == 0 && line > 200 && text[0] == 'i')
        {
            cut = line;
            text = "t 1";
        }
        damaged << text << "\n";
    }
    const std::string damagedPath = (folder.root / "damaged.replay").string();
    std::ofstream(damagedPath) << damaged.str();
    EXPECT_NE(play(damagedPath), recordedHash);
    EXPECT_EQ(
        engine->replay->Problem(),
        "line " + std::to_string(cut) + " of " + damagedPath +
            " is \"t 1\" where the run asks for a step's input: the game has not run as it was recorded");

    for (const char* notAReplay : {"", "corvalune-replay 1\nseed x\nscene a\npicture 1 1\n",
                                   "corvalune-replay 1\nseed 1\nscene a\npicture 0 1\n"})
    {
        std::ofstream(damagedPath) << notAReplay;
        EXPECT_EQ(Replay::Play(damagedPath, problem), nullptr) << notAReplay;
        EXPECT_EQ(problem, damagedPath +
                               " is not a replay: it must begin with \"corvalune-replay 1\" and lines for "
                               "the seed, the scene and the picture's size");
    }
}

} // namespace Varn::Test
