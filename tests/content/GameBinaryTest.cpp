// The real game binary, started headless on content the test writes: its command line, its log
// file and its crash report.
#include "support/RunCommand.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace Varn::Test
{

namespace
{
// The engine's default files, linked from the repository into `folder`.
void LinkDefaultFiles(const ScratchFolder& folder)
{
    for (const char* file : {"Resources/Sprites/basicSprite.dds", "Resources/Sprites/basicParticleSprite.dds",
                             "Resources/Fonts/FiraCode-Regular.ttf", "Resources/Scripts/BasicScript.orin",
                             "Resources/Scripts/GlobalVariables.orin"})
    {
        folder.Link(file);
    }
}

// The game started headless from `where` with `arguments`; in sanitizer builds the OpenGL
// driver, unloaded at exit, leaves allocations and threads the checkers cannot name (and
// cannot suppress once it is gone): the suite checks our own code in process, so the exit code
// here says only whether the game ran and how it ended.
std::pair<std::string, int> RunGame(const std::string& where, const std::string& arguments)
{
    return RunCommand("cd '" + where +
                      "' && ASAN_OPTIONS=detect_leaks=0 TSAN_OPTIONS=exitcode=0 SDL_VIDEODRIVER=offscreen "
                      "SDL_AUDIODRIVER=dummy CORVALUNE_SAVE_DIR= timeout 60 '" CORVALUNE_GAME "' " +
                      arguments + " 2>&1");
}
} // namespace

TEST(GameBinary, TheCommandLineAnswersRefusesAndStartsWhereItIsToldWithTheSeedItIsGiven)
{
    const auto [version, versionCode] = RunGame("/", "--version");
    EXPECT_EQ(versionCode, 0);
    EXPECT_EQ(version, "corvalune " CORVALUNE_VERSION "\n");
    const auto [help, helpCode] = RunGame("/", "--help");
    EXPECT_EQ(helpCode, 0);
    EXPECT_NE(help.find("--scene PATH"), std::string::npos) << help;
    for (const char* wrong :
         {"--frobnicate", "--seed twelve", "--scene", "--data /", "--windowed 640x", "--windowed 8x8",
          "--log-level loud", "--replay /nowhere.txt", "--replay /dev/null", "--replay /dev/null --seed 3"})
    {
        const auto [said, code] = RunGame("/", wrong);
        EXPECT_EQ(code, 2) << wrong << ": " << said;
        EXPECT_EQ(said.rfind("corvalune: ", 0), 0u) << wrong << ": " << said;
    }

    // A scene of its own, content from elsewhere, a save of its own and a seed: three draws,
    // the same for the same seed.
    ScratchFolder folder;
    LinkDefaultFiles(folder);
    folder.Write("Resources/Scripts/dice.orin", "[Event] Initialize\n[Action]\nPrint #math_random\n"
                                                "Print #math_random\nPrint #math_random\nExitGame\n[End]\n");
    folder.Write(
        "Resources/Scenes/Dice.scene",
        R"([{"ID":"Dice","ID Type":0,"Transform":{},"Script":{"File Path":)"
        R"({"File Path 0":"Resources\\Scripts\\dice.orin"}}},{"ID":"Eye","ID Type":0,"Transform":{},"Camera":{}}])");
    folder.Write("gameConfig.ini", "[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=320\n");
    const auto draws = [&](int seed, const std::string& more = "")
    {
        const auto [output, code] = RunGame(
            "/", "--data '" + folder.root.string() + "' --scene Resources/Scenes/Dice.scene --save-dir '" +
                     folder.Path("save") + "' --seed " + std::to_string(seed) + more);
        EXPECT_EQ(code, 0) << output;
        std::string printed;
        std::istringstream lines(output);
        for (std::string line; std::getline(lines, line);)
        {
            if (line.size() > 2 && line[0] == '0' && line[1] == '.')
            {
                printed += line + "\n";
            }
        }
        return printed;
    };
    const std::string first = draws(7);
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 3) << first;
    EXPECT_EQ(draws(7), first) << "the same seed draws the same numbers";
    EXPECT_NE(draws(8), first);
    EXPECT_TRUE(std::filesystem::exists(folder.root / "save" / "GlobalVariables.orin"));

    // Each run's log is in the save folder, starting with what the game is and where it reads
    // and writes; the run before is kept beside it.
    std::string log, previous;
    ASSERT_TRUE(ReadTextFile((folder.root / "save" / "corvalune.log").string(), log));
    ASSERT_TRUE(ReadTextFile((folder.root / "save" / "corvalune.log.1").string(), previous));
    for (const std::string& line :
         {std::string("Corvalune " CORVALUNE_VERSION "\n"), std::string("\nOpenGL: "),
          std::string("\nWindow: 320x180, windowed\n"), "\nContent: " + folder.root.string() + "\n",
          "\nSaves: " + folder.Path("save") + "\n"})
    {
        EXPECT_NE(log.find(line), std::string::npos) << line << " in " << log;
    }
    EXPECT_EQ(log.find(first), std::string::npos) << "this run drew with seed 8";
    EXPECT_NE(previous.find(first), std::string::npos) << "the run before drew with seed 7: " << previous;

    // The command line wins over gameConfig.ini's display settings; debug adds the load times,
    // error keeps only errors (the printed draws and the start lines go).
    EXPECT_EQ(draws(7, " --windowed 480x300 --log-level debug"), first);
    ASSERT_TRUE(ReadTextFile((folder.root / "save" / "corvalune.log").string(), log));
    EXPECT_NE(log.find("\nWindow: 480x270, windowed\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Loaded Resources/Scenes/Dice.scene: 2 entities in "), std::string::npos) << log;
    EXPECT_EQ(draws(7, " --log-level error"), "");
    ASSERT_TRUE(ReadTextFile((folder.root / "save" / "corvalune.log").string(), log));
    EXPECT_EQ(log, "");
    EXPECT_EQ(draws(7, " --windowed 480x270 --fullscreen"), first) << "the last of the two wins";
    ASSERT_TRUE(ReadTextFile((folder.root / "save" / "corvalune.log").string(), log));
    EXPECT_NE(log.find(", full screen\n"), std::string::npos) << log;

    // A recorded run plays back with the seed, scene and picture it was recorded with, and the
    // game says both runs ended with everything in the same place.
    const std::string run = folder.Path("run.replay");
    EXPECT_EQ(draws(9, " --windowed 480x270 --record '" + run + "'"), draws(9));
    ASSERT_TRUE(ReadTextFile((folder.root / "save" / "corvalune.log").string(), log));
    const std::size_t recorded = log.find("Recorded ");
    ASSERT_NE(recorded, std::string::npos) << log;
    const std::string summary = log.substr(recorded + 9, log.find('\n', recorded) - recorded - 9);
    const auto [replayed, replayCode] = RunGame("/", "--data '" + folder.root.string() + "' --save-dir '" +
                                                         folder.Path("save") + "' --replay '" + run + "'");
    EXPECT_EQ(replayCode, 0) << replayed;
    EXPECT_NE(replayed.find(draws(9)), std::string::npos) << replayed;
    EXPECT_NE(replayed.find("\nWindow: 480x270, windowed\n"), std::string::npos) << replayed;
    EXPECT_NE(replayed.find("Replay ended after " + summary + ". The devices take over."), std::string::npos)
        << summary << " in " << replayed;
}

TEST(GameBinary, ACrashLeavesALastLineAndABacktraceInTheLog)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer builds keep their own crash reports";
#endif
    ScratchFolder folder;
    LinkDefaultFiles(folder);
    folder.Write("Resources/Scenes/Still.scene", R"([{"ID":"Eye","ID Type":0,"Transform":{},"Camera":{}}])");
    folder.Write("gameConfig.ini", "[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=320\n");
    const auto [output, code] = RunCommand(
        "cd / && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy timeout -s SEGV 3 '" CORVALUNE_GAME
        "' --data '" +
        folder.root.string() + "' --scene Resources/Scenes/Still.scene --save-dir '" + folder.Path("save") +
        "' 2>&1");
    EXPECT_NE(code, 0) << output;
    EXPECT_NE(output.find("corvalune: crashed (segmentation fault); backtrace:"), std::string::npos)
        << output;
    std::string log;
    ASSERT_TRUE(ReadTextFile((folder.root / "save" / "corvalune.log").string(), log));
    const std::size_t crash = log.find("corvalune: crashed (segmentation fault); backtrace:\n");
    ASSERT_NE(crash, std::string::npos) << log;
    EXPECT_NE(log.find("corvalune(", crash), std::string::npos) << "frames of the game itself: " << log;
    EXPECT_NE(log.find("Saves: "), std::string::npos) << "the start lines came before: " << log;
}

} // namespace Varn::Test
