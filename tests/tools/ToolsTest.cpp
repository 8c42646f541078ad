// The developer tools. The content checker on a scratch content tree: each broken file is
// reported by name, with what is wrong with it, and clean files are not. The profile and
// screenshot tools as a developer runs them: they answer --help, refuse a wrong command line,
// fail on a scene that does not load, and never touch the player's save.
#include "support/EngineTest.h"
#include "support/RunCommand.h"
#include "support/ScratchFolder.h"

#include "check_content/ContentChecker.h"
#include "resource/ResourceManager.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <set>

namespace Varn::Test
{

using ::testing::HasSubstr;
using Tools::ContentChecker;

class ContentCheck : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The engine's default files, so that only the files a test writes can be wrong.
        for (const char* file :
             {"Resources/Sprites/basicSprite.dds", "Resources/Sprites/basicParticleSprite.dds",
              "Resources/Fonts/FiraCode-Regular.ttf", "Resources/Audio/SFX/Explosion_CTE01_56.1.ogg"})
        {
            folder.Link(file);
        }
        folder.Write("Resources/Scripts/BasicScript.orin", "// does nothing\n");
        folder.Write("Resources/Scripts/GlobalVariables.orin", "Float NextLevel 1\nBool Fullscreen 0\n");
        folder.Write("gameConfig.ini", "[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=320\n");
        engine = &Scene::Engine::Instance();
        ASSERT_TRUE(engine->window->Create());
        engine->scenes->SetCurrent(engine->NewScene());
        engine->resources->LoadDefaults();
        ASSERT_TRUE(engine->logger.Lines().empty()) << engine->logger.Lines().front();
    }
    void TearDown() override { Scene::Engine::Shutdown(); }

    // The problems reported for `file`, as "<problem>" lines.
    static std::vector<std::string> ProblemsOf(const ContentChecker& checker, const std::string& file)
    {
        std::vector<std::string> found;
        for (const Tools::ContentProblem& problem : checker.problems)
        {
            if (problem.file == file)
            {
                found.push_back(problem.problem);
            }
        }
        return found;
    }
    static std::set<std::string> FilesOf(const ContentChecker& checker)
    {
        std::set<std::string> files;
        for (const Tools::ContentProblem& problem : checker.problems)
        {
            files.insert(problem.file);
        }
        return files;
    }

    ScratchFolder folder{ScratchFolder::ENTER};
    Scene::Engine* engine = nullptr;
};

TEST_F(ContentCheck, ReportsEachBrokenFileByNameAndPassesTheCleanOnes)
{
    // Not JSON: the closing bracket is missing.
    folder.Write("Resources/Scenes/Broken.scene",
                 "Tags:Player,\n[{\"ID\":\"A\",\"ID Type\":0,\"Transform\":{}}");
    folder.Write(
        "Resources/Scenes/NoTexture.scene",
        R"([{"ID":"Main Camera","ID Type":0,"Transform":{},"Camera":{}},)"
        R"({"ID":"Hero","ID Type":0,"Transform":{},"Sprite Renderer":{"Texture":"Resources\\Sprites\\hero.dds"}}])");
    folder.Write("Resources/Scripts/Broken.orin", "float speed\n[Event] Initialize\n[Action]\n"
                                                  "SetFloat #l_speed 2\nJumpAround 3\n[End]\n");
    // A scene using every kind of file name, all present, and a script with a run-time path.
    folder.Write(
        "Resources/Scenes/Clean.scene",
        "Tags:Player,\nAudio:Resources\\Audio\\SFX\\Explosion_CTE01_56.1.ogg,\n"
        R"([{"ID":"Main Camera","ID Type":0,"Transform":{},"Camera":{}},)"
        R"({"ID":"Hero","ID Type":2,"Transform":{},"Sprite Renderer":{"Texture":"Resources\\Sprites\\basicSprite.dds"},)"
        R"("Script":{"File Path":{"File Path 0":"Resources\\Scripts\\Good.orin"},)"
        R"("String List":{"coin":"Resources\\Prefabs\\Good.prefab","level":"Resources\\Scenes\\Level"}}},)"
        R"({"ID":"Label","ID Type":0,"Transform":{},"UI Text":{"Text":"Hi","Font":"Resources\\Fonts\\FiraCode-Regular.ttf"}}])");
    folder.Write("Resources/Scripts/Good.orin",
                 "string coin\n[Event] Initialize\n[Action]\n"
                 "CreatePrefab Resources\\Prefabs\\Good.prefab here\n"
                 "CreatePrefab #l_coin 0 0 0\nLoadScene #g_NextScene\n[End]\n");
    folder.Write("Resources/Prefabs/Good.prefab",
                 R"([{"ID":"Coin","ID Type":0,"Current Parent ID":1,"Transform":{},"Sprite Renderer":{}}])");

    // Checked first: the files after it must not be blamed for its texture.
    folder.Write(
        "Resources/Prefabs/Faded.prefab",
        R"([{"ID":"Ghost","ID Type":0,"Transform":{},"UI Image":{"Texture":"Resources/Sprites/ghost.png"}}])");

    ContentChecker checker;
    checker.Run();

    EXPECT_EQ(FilesOf(checker),
              (std::set<std::string>{"Resources/Prefabs/Faded.prefab", "Resources/Scenes/Broken.scene",
                                     "Resources/Scenes/NoTexture.scene", "Resources/Scripts/Broken.orin"}))
        << ::testing::PrintToString(checker.Lines());
    EXPECT_EQ(ProblemsOf(checker, "Resources/Scenes/Broken.scene"),
              (std::vector<std::string>{"loading logs: Error: Load Failed. Scene is Invalid"}));
    // One problem for one missing file: the loader's own line about it is not repeated.
    EXPECT_EQ(ProblemsOf(checker, "Resources/Scenes/NoTexture.scene"),
              (std::vector<std::string>{
                  R"(missing texture ("Hero", Sprite Renderer "Texture"): "Resources\Sprites\hero.dds")"}));
    EXPECT_EQ(ProblemsOf(checker, "Resources/Scripts/Broken.orin"),
              (std::vector<std::string>{"does not compile: ORINCompiler: [ERROR]Invalid Action in Broken",
                                        "line 5: unknown keyword \"JumpAround\""}));
    EXPECT_EQ(checker.scenes, 3u);
    EXPECT_EQ(checker.prefabs, 2u);
    EXPECT_EQ(checker.scripts, 3u); // the global variables file is not a script
    EXPECT_EQ(checker.Summary(), "Checked 3 scenes, 2 prefabs and 3 scripts: 5 problems in 4 files");
    EXPECT_EQ(checker.Lines().front(),
              R"(Resources/Prefabs/Faded.prefab: missing texture ("Ghost", UI Image "Texture"): )"
              R"("Resources/Sprites/ghost.png")");
}

TEST_F(ContentCheck, HeadersCamerasFileNamesShaderAnimationAndValueFormsAreCheckedButReferencesAreNot)
{
    folder.Write("Resources/Scenes/Header.scene",
                 "Tags:Player,Enemy\nAudio:Resources\\Audio\\gone.ogg,\n"
                 R"([{"ID":"Main Camera","ID Type":0,"Transform":{},"Camera":{}}])");
    folder.Write("Resources/Scripts/Spawner.orin",
                 "string next\n"
                 "[Event] Initialize\n"
                 "[Action]\n"
                 "CreatePrefab Resources\\Prefabs\\Gone.prefab 0 0 0\n"
                 "// CreatePrefab Resources\\Prefabs\\Commented.prefab here\n"
                 "#player LoadSceneSynchro Resources/Scenes/Nowhere.scene\n"
                 "LoadScene #g_NextScene\n"
                 "SetString #l_next Resources\\Scenes\\Lost.scene\n"
                 "StringOp #l_next Resources\\Scenes\\Level #g_NextLevel .scene\n"
                 "/* LoadScene Resources\\Scenes\\Hidden.scene */\n"
                 "PlaySound Resources\\Audio\\none.ogg false false false\n"
                 "[End]\n");

    folder.Write("Resources/Scenes/Dark.scene", R"([{"ID":"Hero","ID Type":0,"Transform":{}}])");
    // Names the loader would drop, and mistyped members, keys and value forms.
    folder.Write(
        "Resources/Prefabs/Walker.prefab",
        R"([{"ID":"Walker","ID Type":0,"Transform":{},"Sprite Renderer":{"Shader":"spriteShader"},)"
        R"("Animator Component":{"Animation List":{"Animation List 0":{"Start Frame":0,"End Frame":3,)"
        R"("Name":"Walk","Looping":true}},"Current Animation":"Run"}},)"
        R"({"ID":"Idler","ID Type":0,"Transform":{},"Sprite Renderer":{"Shader":"basicSpriteShader"},)"
        R"("Animator Component":{"Current Animation":"Default"}}])");
    folder.Write(
        "Resources/Prefabs/Typos.prefab",
        R"([{"ID":"Crate","ID Type":0,"Layer":-1,"Transform":{"Position":{"X":1,"Y":2,"Z":0},"Enabled":1},)"
        R"("Sprite renderer":{},"Rigidbody":{"Mass":"heavy","Gravity":2,"Rigidbody Mode":1},)"
        R"("Sprite Renderer":{"Mesh":{"Mesh":"crate","Mesh X":0,"Mesh Y":1},"Tint":{"R":1,"G":1,"B":1,"A":1}}}])");

    ContentChecker checker;
    checker.Run();

    EXPECT_EQ(ProblemsOf(checker, "Resources/Scenes/Dark.scene"),
              std::vector<std::string>{"no entity with a Camera: nothing of the world would be drawn"});
    EXPECT_EQ(ProblemsOf(checker, "Resources/Scenes/Header.scene"),
              (std::vector<std::string>{
                  "the Tags: line ends in \"Enemy\", which is ignored: every name needs a comma after it",
                  R"(missing sound (Audio: line): "Resources\Audio\gone.ogg")"}));
    const std::vector<std::string> script = ProblemsOf(checker, "Resources/Scripts/Spawner.orin");
    const std::vector<std::string> paths(script.begin(), std::find_if(script.begin(), script.end(),
                                                                      [](const std::string& p)
                                                                      { return !p.starts_with("missing"); }));
    EXPECT_EQ(paths, (std::vector<std::string>{
                         R"(missing prefab (CreatePrefab, line 4): "Resources\Prefabs\Gone.prefab")",
                         R"(missing scene (LoadSceneSynchro, line 6): "Resources/Scenes/Nowhere.scene")",
                         R"(missing file (SetString, line 8): "Resources\Scenes\Lost.scene")",
                         R"(missing sound (PlaySound, line 11): "Resources\Audio\none.ogg")"}));
    EXPECT_EQ(
        ProblemsOf(checker, "Resources/Prefabs/Walker.prefab"),
        (std::vector<std::string>{
            R"(unknown shader "spriteShader" ("Walker", Sprite Renderer "Shader"): it would never be drawn)",
            R"(unknown animation "Run" ("Walker", Animator Component "Current Animation"): the first run )"
            R"(plays instead)"}));
    EXPECT_EQ(
        ProblemsOf(checker, "Resources/Prefabs/Typos.prefab"),
        (std::vector<std::string>{
            R"("Layer" of "Crate" is not a whole number, 0 or more: it is ignored)",
            R"("Position" in Transform of "Crate" is not {"X","Y","Z","W"}, all four numbers: the default stays)",
            R"("Enabled" in Transform of "Crate" is not true or false: it reads as false)",
            R"(unknown member "Sprite renderer" of "Crate": it is ignored)",
            R"("Mass" in Rigidbody of "Crate" is not a number: the default stays)",
            R"(unknown key "Gravity" in Rigidbody of "Crate": it is ignored)",
            R"("Mesh" in Sprite Renderer of "Crate" is not {"Mesh":name,"Mesh X":columns,"Mesh Y":rows}, )"
            R"(columns and rows 1 or more: the default stays)"}));
}

TEST_F(ContentCheck, MissingDefaultsAndBadGlobalLinesAreReportedAndErrorLinesAreToldFromOtherOutput)
{
    folder.Remove("Resources/Scripts/BasicScript.orin");
    folder.Write("Resources/Scripts/GlobalVariables.orin",
                 "Float NextLevel 1\nFloat Pickups lots\n// note\n");

    ContentChecker checker;
    checker.Run();

    EXPECT_EQ(checker.Lines(),
              (std::vector<std::string>{
                  "Resources/Scripts/BasicScript.orin: missing: the default script every scene relies on",
                  "Resources/Scripts/GlobalVariables.orin: line 2 is not \"Bool|Float|String name value\": "
                  "\"Float Pickups lots\""}));

    // The engine's error lines are told from other output.
    for (const char* line : {"Error: Load Failed. Scene is Invalid", "Error: Texture a.dds Failed to Load",
                             "ORINCompiler: [ERROR]Invalid Action in Hero",
                             "Invalid SetBool parameters in Hero.", "Missing array coins in Hero.",
                             "Something is wrong with Hero", "[ERROR]Cannot find Entity #entBoss"})
    {
        EXPECT_TRUE(ContentChecker::IsErrorLine(line)) << line;
    }
    for (const char* line : {"counting 2.000000 ", "Not a particle, but spawned anyways.", "Hero died"})
    {
        EXPECT_FALSE(ContentChecker::IsErrorLine(line)) << line;
    }
}

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

TEST(ToolRuns, ProfileAndScreenshotAnswerRefuseFailOnABadSceneAndKeepTheirSavesAwayFromThePlayers)
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

    // A profile run by frames or steps keeps its save away from the player's, or writes it where
    // it is told.
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
