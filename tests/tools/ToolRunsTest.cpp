// The profile and screenshot tools as a developer runs them: they answer --help, refuse a
// wrong command line, fail on a scene that does not load, and never touch the player's save.
#include "support/RunCommand.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace Varn::Test
{

namespace
{
// `tool` run from the repository's top folder, with the player's save in `player`. As with the
// game binary, leaks and races of the OpenGL driver at exit are left to the in-process suite.
// (Under ThreadSanitizer they are reported as the driver unloads, and the report replaces the
// exit code of a run that opened a window; those runs are judged by what they print there.)
std::pair<std::string, int> RunTool(const std::string& tool, const std::string& arguments,
                                    const std::filesystem::path& player)
{
    return RunCommand("cd '" + std::string(CORVALUNE_SOURCE_DIR) +
                      "' && ASAN_OPTIONS=detect_leaks=0 TSAN_OPTIONS=exitcode=0 APPDATA= CORVALUNE_SAVE_DIR= "
                      "XDG_DATA_HOME='" +
                      player.string() + "' SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" + tool + "' " +
                      arguments + " 2>&1");
}
#ifdef CORVALUNE_THREAD_SANITIZED
constexpr bool WINDOWED_EXIT_CODES = false;
#else
constexpr bool WINDOWED_EXIT_CODES = true;
#endif
} // namespace

TEST(ToolRuns, ProfileAndScreenshotAnswerHelpRefuseBadLinesAndFailOnASceneThatDoesNotLoad)
{
    ScratchFolder player;
    for (const std::string tool : {CORVALUNE_PROFILE, CORVALUNE_SCREENSHOT})
    {
        const auto [help, helpCode] = RunTool(tool, "--help", player.root);
        EXPECT_EQ(helpCode, 0) << tool;
        EXPECT_NE(help.find("usage: corvalune_"), std::string::npos) << help;
        EXPECT_NE(help.find("--save-dir DIR"), std::string::npos) << help;

        const auto [unknown, unknownCode] =
            RunTool(tool, "--frames 3 Resources/Scenes/LogoScene.scene", player.root);
        EXPECT_EQ(unknownCode, 2) << unknown;
        EXPECT_NE(unknown.find("unknown option --frames"), std::string::npos) << unknown;
    }
    const auto [missing, missingCode] =
        RunTool(CORVALUNE_PROFILE, "Resources/Scenes/NoSuch.scene 2", player.root);
    EXPECT_TRUE(missingCode == 1 || !WINDOWED_EXIT_CODES) << missingCode << ": " << missing;
    EXPECT_NE(missing.find("Error: Load Failed. Scene is Invalid"), std::string::npos) << missing;
    EXPECT_NE(missing.find("NoSuch.scene: the scene did not load"), std::string::npos) << missing;
    const auto [noPicture, noPictureCode] =
        RunTool(CORVALUNE_SCREENSHOT, "Resources/Scenes/NoSuch.scene 1 " + (player.root / "x.png").string(),
                player.root);
    EXPECT_TRUE(noPictureCode == 1 || !WINDOWED_EXIT_CODES) << noPictureCode << ": " << noPicture;
    EXPECT_NE(noPicture.find("NoSuch.scene: the scene did not load"), std::string::npos) << noPicture;
    EXPECT_FALSE(std::filesystem::exists(player.root / "x.png"));
    EXPECT_FALSE(std::filesystem::exists(player.root / "Corvalune")) << "the player's save was touched";
}

TEST(ToolRuns, AProfileRunByFramesOrStepsKeepsItsSaveAwayFromThePlayersOrWritesItWhereItIsTold)
{
    ScratchFolder player;
    const auto [report, code] = RunTool(CORVALUNE_PROFILE, "Resources/Scenes/Level1.scene 3", player.root);
    ASSERT_TRUE(code == 0 || !WINDOWED_EXIT_CODES) << code << ": " << report;
    EXPECT_NE(report.find("Resources/Scenes/Level1.scene: 3 frames"), std::string::npos) << report;
    EXPECT_FALSE(std::filesystem::exists(player.root / "Corvalune")) << "the run wrote the player's save";

    const std::filesystem::path chosen = player.root / "chosen";
    const auto [again, againCode] =
        RunTool(CORVALUNE_PROFILE, "--save-dir '" + chosen.string() + "' Resources/Scenes/Level1.scene 3",
                player.root);
    ASSERT_TRUE(againCode == 0 || !WINDOWED_EXIT_CODES) << againCode << ": " << again;
    EXPECT_NE(again.find("Resources/Scenes/Level1.scene: 3 frames"), std::string::npos) << again;
    EXPECT_TRUE(std::filesystem::exists(chosen / "GlobalVariables.orin"));
    EXPECT_FALSE(std::filesystem::exists(player.root / "Corvalune"));

    // By steps: each stage's row, and no drawing.
    const auto [steps, stepsCode] =
        RunTool(CORVALUNE_PROFILE, "--steps 40 Resources/Scenes/Level1.scene", player.root);
    ASSERT_TRUE(stepsCode == 0 || !WINDOWED_EXIT_CODES) << stepsCode << ": " << steps;
    EXPECT_NE(steps.find("Resources/Scenes/Level1.scene: 40 steps"), std::string::npos) << steps;
    for (const char* row : {"\nstep ", "\nscripts ", "\nAI ", "\nphysics ", "\ntransforms ", "\nparticles "})
    {
        EXPECT_NE(steps.find(row), std::string::npos) << row << " in " << steps;
    }
    EXPECT_EQ(steps.find("\ndrawing "), std::string::npos) << "a step profile draws nothing";

    for (const std::string bad :
         {"--steps 0 Resources/Scenes/Level1.scene", "--steps", "--steps 5 A.scene 3"})
    {
        const auto [refused, refusedCode] = RunTool(CORVALUNE_PROFILE, bad, player.root);
        EXPECT_EQ(refusedCode, 2) << bad << ": " << refused;
        EXPECT_NE(refused.find("usage: corvalune_profile"), std::string::npos) << refused;
    }
    const auto [screenshot, screenshotCode] =
        RunTool(CORVALUNE_SCREENSHOT, "--steps 5 A.scene 1 x.png", player.root);
    EXPECT_EQ(screenshotCode, 2) << screenshot;
}

} // namespace Varn::Test
