// The real game, headless: the logo, the menu, the loading scene and the first levels, driven
// through the input seam one displayed frame of 1/60 s at a time.
#include "content/PlayBot.h"
#include "support/DrawingTest.h"
#include "support/Environment.h"

#include "ecs/ScriptComponent.h"
#include "script/GlobalVariables.h"
#include "script/ScriptSystem.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace Varn::Test
{

namespace
{
constexpr int KEY_ENTER = 13;
constexpr int KEY_RIGHT = 39;
constexpr int KEY_DOWN = 40;
} // namespace

class Playthrough : public Drawing
{
protected:
    void SetUp() override
    {
        folder.Link("Resources");
        folder.Write("gameConfig.ini", "[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=480\n");
        // A save folder of its own, so the first run starts from nothing.
        setenv("XDG_DATA_HOME", (folder.root / "save").c_str(), 1);
    }

    // Starts the game as its entry function does, on a clock and input the test drives.
    void Launch()
    {
        engine = &Scene::Engine::Instance();
        engine->timer->SetClock(&clock);
        auto source = std::make_unique<ScriptedInput>();
        input = source.get();
        engine->input->SetSource(std::move(source));
        ASSERT_TRUE(engine->Start("Resources/Scenes/LogoScene.scene"));
    }
    void Quit()
    {
        Scene::Engine::Shutdown(); // as after the window closes: the scene goes and the save is written
        engine = nullptr;
    }

    // One displayed frame; every 20th is also drawn, so rendering the real content runs too.
    // The log is not flushed, so the test sees every line (but those of loading frames).
    void Frame()
    {
        clock.AdvanceNanoseconds(16666667);
        engine->Update();
        if (++frames % 20 == 0)
        {
            engine->window->ApplyClearColour();
            engine->Render();
        }
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            Frame();
        }
    }
    // Runs frames until `done` holds; false when it has not after `limit` frames.
    bool FramesUntil(const std::function<bool()>& done, int limit)
    {
        for (int i = 0; i < limit; ++i)
        {
            if (done())
            {
                return true;
            }
            Frame();
        }
        return done();
    }
    void Tap(int key)
    {
        input->taps.set(static_cast<std::size_t>(key));
        Frame();
        Frame();
    }
    bool InScene(const std::string& file)
    {
        return FramesUntil([&] { return CurrentScene().name.ends_with(file); }, 60 * 20);
    }
    // From the logo through the menu's Play into level 1, as a new player.
    void ToLevel1()
    {
        Launch();
        ASSERT_TRUE(CurrentScene().name.ends_with("LogoScene.scene"));
        Frames(30);
        Tap(KEY_ENTER);
        ASSERT_TRUE(InScene("MainMenu.scene")) << "any key skips the logo";
        Frames(10);
        EXPECT_EQ(Text("PlayLabel"), "Play") << "a new player has nothing to continue";
        Tap(KEY_ENTER);
        ASSERT_TRUE(InScene("Level1.scene")) << "Play leads through the loading scene into level 1";
    }

    SavedEnvironment saved{"XDG_DATA_HOME"};
    ManualClock clock;
    int frames = 0;
};

// A retry builds the level and its HUD anew in entities that earlier scenes used; the HUD must
// follow the new player and clock whichever room the camera is in, attempt after attempt. A lit
// lantern is where a retry starts: at the lantern, with the health and gems the player had there
// and the clock as it stood; the gems behind it stay taken. The exit ends the level and forgets
// the lantern, and the progress saved on the way makes the next start's menu say Continue.
TEST_F(Playthrough, RetriesStartAtTheLastLitLanternWithALiveHudAndTheNextStartContinues)
{
    ASSERT_NO_FATAL_FAILURE(ToLevel1());
    auto player = [&] { return Find("Player"); };
    auto vars = [&] { return &player()->GetComponent<ECS::ScriptComponent>()->floatList; };
    auto x = [&] { return player()->GetComponent<ECS::Transform>()->position.x; };
    auto retry = [&]
    {
        ASSERT_TRUE(InScene("GameOver.scene")) << "the gap is fatal";
        input->state.keys.reset(KEY_RIGHT);
        Frames(20);
        Tap(KEY_ENTER);
        ASSERT_TRUE(InScene("Level1.scene")) << "Retry loads the level again";
    };
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        Frames(90);
        ASSERT_NE(Find("HUDHealthFill"), nullptr);
        EXPECT_NEAR(Get("HUDHealthFill")->GetComponent<ECS::Transform>()->scale.x, 1.25f, 1e-4f)
            << "full health fills the bar";
        EXPECT_EQ(Text("HUDGemText"), "x 0");
        ASSERT_NE(player(), nullptr);
        (*vars())["LevelGems"] = 2;

        // Run right into the first gap; the HUD keeps up all the way, then the fall kills.
        input->state.keys.set(KEY_RIGHT);
        const std::string clock = Text("HUDTimeText");
        EXPECT_NE(clock, "Time 0:00.0");
        Frames(60);
        EXPECT_EQ(Text("HUDGemText"), "x 2") << "a gem shows at once";
        EXPECT_NE(Text("HUDTimeText"), clock) << "the clock runs";
        ASSERT_NO_FATAL_FAILURE(retry());
    }

    Frames(30);
    ECS::IEntity* lantern = Find("Checkpoint1");
    ASSERT_NE(lantern, nullptr);
    ASSERT_FALSE(Get("Checkpoint1Flame")->gameObjectActive);
    const float lanternX = lantern->GetComponent<ECS::Transform>()->position.x;
    // Hurt and two gems richer, the player runs past the lantern.
    (*vars())["PlayerHealth"] = 60.0f;
    (*vars())["LevelGems"] = 2.0f;
    player()->GetComponent<ECS::Transform>()->position = {lanternX - 150.0f, 60.0f, 2.0f, 0.0f};
    input->state.keys.set(KEY_RIGHT);
    EXPECT_TRUE(FramesUntil([&] { return Get("Checkpoint1Flame")->gameObjectActive; }, 60)) << "it lights";
    input->state.keys.reset(KEY_RIGHT);
    auto clock = [&] { return CurrentScene().scriptSystem->compiler.globals.floats["LevelTime"]; };
    const float clockAtLantern = clock();
    EXPECT_GT(clockAtLantern, 0.5f);

    // Later, worse off, the player falls into the gap before the spikes.
    Frames(60);
    (*vars())["PlayerHealth"] = 20.0f;
    (*vars())["LevelGems"] = 5.0f;
    player()->GetComponent<ECS::Transform>()->position = {4800.0f, 100.0f, 2.0f, 0.0f};
    ASSERT_NO_FATAL_FAILURE(retry());
    Frames(30);
    EXPECT_NEAR(x(), lanternX, 40.0f) << "the retry starts at the lantern";
    EXPECT_EQ((*vars())["PlayerHealth"], 60.0f);
    EXPECT_EQ(Text("HUDGemText"), "x 2");
    EXPECT_TRUE(Get("Checkpoint1Flame")->gameObjectActive) << "the lantern shows lit";
    EXPECT_FALSE(Get("Checkpoint2Flame")->gameObjectActive);
    EXPECT_EQ(Find("Gem1"), nullptr) << "gems behind the lantern are not there to take twice";
    EXPECT_NE(Find("Gem4"), nullptr) << "those ahead are";
    EXPECT_GE(clock(), clockAtLantern) << "the clock goes on from the lantern";
    EXPECT_LT(clock(), clockAtLantern + 1.0f);

    // At the exit the level is done: the loading scene brings level 2, from its own beginning.
    player()->GetComponent<ECS::Transform>()->position =
        Get("LevelExit")->GetComponent<ECS::Transform>()->position;
    ASSERT_TRUE(InScene("Level2.scene")) << "reaching the exit loads level 2";
    Frames(30);
    EXPECT_LT(x(), 400.0f);
    EXPECT_EQ(ContentErrors(engine->logger.Lines()), std::vector<std::string>{});
    // Saved on the way, not only at the end: a crash now would keep the level reached.
    std::string saved;
    ReadTextFile(Script::GlobalVariables::UserFolder() + "/" + Script::GlobalVariables::FILE_NAME, saved);
    EXPECT_NE(saved.find("Float FurthestLevel 2\n"), std::string::npos) << saved;

    Quit();
    Launch();
    Frames(30);
    Tap(KEY_ENTER);
    ASSERT_TRUE(InScene("MainMenu.scene"));
    Frames(10);
    EXPECT_EQ(Text("PlayLabel"), "Continue") << "the save of the first run is read back";
    // Down to Quit, which ends the game.
    Tap(KEY_DOWN);
    Tap(KEY_DOWN);
    Tap(KEY_ENTER);
    EXPECT_TRUE(FramesUntil([&] { return !engine->window->running; }, 60)) << "Quit ends the game";
    EXPECT_EQ(ContentErrors(engine->logger.Lines()), std::vector<std::string>{});
}

// A careful scripted player goes from the menu through all three levels to the victory screen,
// retrying where it falls. Its deaths and the time it spent on each level are printed: they
// are the game's difficulty as the bot meets it.
TEST_F(Playthrough, ACarefulPlayerReachesTheVictoryScreen)
{
    ASSERT_NO_FATAL_FAILURE(ToLevel1());

    struct Level
    {
        int deaths = 0;
        int frames = 0; // on the level, its game-over screens and its retries' loading
    };
    Level levels[4];
    int level = 1;
    std::string scene;
    PlayBot bot(*engine, *input);
    for (int frame = 0; frame < 60 * 60 * 30 && !CurrentScene().name.ends_with("Victory.scene"); ++frame)
    {
        if (CurrentScene().name != scene)
        {
            scene = CurrentScene().name;
            for (int n = 1; n <= 3; ++n)
            {
                level = scene.ends_with("Level" + std::to_string(n) + ".scene") ? n : level;
            }
            levels[level].deaths += scene.ends_with("GameOver.scene") ? 1 : 0;
        }
        ++levels[level].frames;
        bot.Act();
        Frame();
    }
    for (int n = 1; n <= 3; ++n)
    {
        std::printf("level %d: %d deaths, %.1f s\n", n, levels[n].deaths, levels[n].frames / 60.0);
        RecordProperty("level" + std::to_string(n) + "_deaths", levels[n].deaths);
        RecordProperty("level" + std::to_string(n) + "_seconds", levels[n].frames / 60);
    }
    ASSERT_TRUE(CurrentScene().name.ends_with("Victory.scene")) << "stuck in level " << level;
    for (int n = 1; n <= 3; ++n)
    {
        EXPECT_LE(levels[n].deaths, 2) << "level " << n << " is harder than a careful player should find it";
    }
    EXPECT_EQ(ContentErrors(engine->logger.Lines()), std::vector<std::string>{});
}

} // namespace Varn::Test
