// The real game binary, started headless on content the test writes: damaged images named by
// a scene's sprites each log their failure, and the game plays on and quits normally.
#include "resource/ResourceTestSupport.h"
#include "support/RunCommand.h"
#include "support/ScratchFolder.h"

#include <filesystem>
#include <string>

namespace Varn::Test
{

TEST(GameBinary, DamagedImagesLogTheirFailureAndTheGameQuitsNormally)
{
    ScratchFolder folder;
    const std::filesystem::path repository = CORVALUNE_SOURCE_DIR;
    for (const char* file :
         {"Sprites/basicSprite.dds", "Sprites/basicParticleSprite.dds", "Fonts/FiraCode-Regular.ttf",
          "Scripts/BasicScript.orin", "Scripts/GlobalVariables.orin"})
    {
        std::filesystem::create_directories((folder.root / "Resources" / file).parent_path());
        std::filesystem::create_symlink(repository / "Resources" / file, folder.root / "Resources" / file);
    }
    for (const auto& [name, bytes] : DamagedImages())
    {
        folder.Write("Resources/Sprites/Damaged/" + name, bytes);
    }
    // The game starts on the logo scene; this one shows the damaged sprites for half a second.
    folder.Write("Resources/Scripts/quit.orin",
                 "float frames\n\n[Event] True\n[Action]\nFloatOp #l_frames + 1 "
                 "#l_frames\n[Condition]\nCheckFloat #l_frames > 30\n[Action]\n"
                 "ExitGame\n[End]\n");
    const std::string quitter = R"(,{"ID":"Quitter","ID Type":0,"Transform":{},"Script":{"File Path":)"
                                R"({"File Path 0":"Resources\\Scripts\\quit.orin"}}})";
    folder.Write("Resources/Scenes/LogoScene.scene",
                 SceneOfDamagedSprites("Resources\\Sprites\\Damaged\\", quitter));
    folder.Write("gameConfig.ini", "[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=320\n");

    // In sanitizer builds the OpenGL driver, unloaded at exit, leaves allocations and threads
    // the checkers cannot name (and cannot suppress once it is gone); the suite checks our own
    // code in process, so the game's exit code here says only whether it ran and quit.
    const auto [output, code] = RunCommand("cd '" + folder.root.string() +
                                           "' && ASAN_OPTIONS=detect_leaks=0 TSAN_OPTIONS=exitcode=0 "
                                           "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "
                                           "XDG_DATA_HOME='" +
                                           folder.Path("save") + "' timeout 60 '" CORVALUNE_GAME "'");
    EXPECT_EQ(code, 0) << output;
    for (const auto& [name, bytes] : DamagedImages())
    {
        const std::string failure =
            "Error: Texture Resources\\Sprites\\Damaged\\" + name + " Failed to Load\n";
        EXPECT_NE(output.find(failure), std::string::npos) << failure << "in:\n" << output;
    }
    EXPECT_NE(output.find("You just got"), std::string::npos) << "the scene's script ran to its end";
}

} // namespace Varn::Test
