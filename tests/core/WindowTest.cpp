#include "support/EngineTest.h"

#include "core/WindowConfig.h"
#include "resource/ResourceManager.h"
#include "support/Environment.h"
#include "support/ScratchFolder.h"

#include <SDL.h>
#include <glbinding/gl33core/gl.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdlib>

using namespace gl33core;

namespace Varn::Test
{

TEST(WindowConfigFile, HeightsAreForcedToSixteenByNineBadValuesAreReportedAndThePlayersFileComesFirst)
{
    ScratchFolder files(ScratchFolder::ENTER);
    // Within one pixel of 16:9 a height stays as written.
    WindowConfig c = WindowConfig::Load(
        files.Write("a.ini", "[Game Settings]\nWindowed_Width=1000\nWindowed_Height=700\n"
                             "Window_Width=1280\nWindow_Height=721\nWindow_Fullscreen=0\n"));
    EXPECT_EQ(c.windowedWidth, 1000);
    EXPECT_EQ(c.windowedHeight, 562);
    EXPECT_EQ(c.windowWidth, 1280);
    EXPECT_EQ(c.windowHeight, 721);
    EXPECT_FALSE(c.windowFullscreen);
    EXPECT_EQ(WindowConfig::ForceAspect(1280, 722), 720);

    std::string problems;
    c = WindowConfig::Load(files.Write("b.ini", "[Other]\nWindowed_Width=640\n[game settings]\n"
                                                "windowed_width=abc\nWindow_Width=-5\nWindow_Fullscreen=7\n"),
                           &problems);
    EXPECT_EQ(c.windowedWidth, 1280); // "abc" reads as 0, which no window can use
    EXPECT_EQ(c.windowWidth, 1920);
    EXPECT_TRUE(c.windowFullscreen); // any non-zero value
    EXPECT_NE(problems.find("windowed_width"), std::string::npos);
    EXPECT_NE(problems.find("Window_Width"), std::string::npos);

    // Widths that give an empty or huge window fall back to the default size: 1 / (16:9)
    // truncates to a zero height; the second width does not even fit an int.
    problems.clear();
    c = WindowConfig::Load(
        files.Write("narrow.ini", "[Game Settings]\nWindow_Width=1\nwindowed_width=99999999999 px\n"),
        &problems);
    EXPECT_EQ(c.windowWidth, 1920);
    EXPECT_EQ(c.windowHeight, 1080);
    EXPECT_EQ(c.windowedWidth, 1280);
    EXPECT_EQ(c.windowedHeight, 720);
    const std::string windowedLine =
        "Error: Failed To Read gameConfig.ini: windowed_width = \"99999999999 px\" "
        "gives a 2147483647 x ";
    const std::string windowLine = "Error: Failed To Read gameConfig.ini: Window_Width = \"1\" gives a 1 x 0 "
                                   "window; using the default 1920 x 1080\n";
    EXPECT_EQ(problems.rfind(windowedLine, 0), 0u) << problems;
    EXPECT_NE(problems.find(" window; using the default 1280 x 720\n" + windowLine), std::string::npos)
        << problems;

    // The limits themselves still open: 2 x 1 and the largest size.
    problems.clear();
    c = WindowConfig::Load(
        files.Write("edges.ini", "[Game Settings]\nWindowed_Width=2\nWindow_Width=16384\nWindow_Height=1\n"),
        &problems);
    EXPECT_EQ(c.windowedWidth, 2);
    EXPECT_EQ(c.windowedHeight, 1);
    EXPECT_EQ(c.windowWidth, 16384);
    EXPECT_EQ(c.windowHeight, 9216);
    EXPECT_EQ(problems, "");

    problems.clear();
    c = WindowConfig::Load(files.Write("huge.ini", "[Game Settings]\nWindow_Width=16385\n"), &problems);
    EXPECT_EQ(c.windowWidth, 1920);
    EXPECT_EQ(c.windowHeight, 1080);
    EXPECT_NE(problems.find("Window_Width = \"16385\" gives a 16385 x 9216 window"), std::string::npos);

    // The player's own file in the config folder comes before the one beside the content.
    const SavedEnvironment saved{"XDG_CONFIG_HOME", "HOME"};
    setenv("XDG_CONFIG_HOME", files.root.c_str(), 1);
    EXPECT_EQ(WindowConfig::FindFile(), "gameConfig.ini") << "no file of the player's: the content's";
    const std::string own = files.Write("Corvalune/gameConfig.ini", "[Game Settings]\nWindowed_Width=640\n");
    EXPECT_EQ(WindowConfig::FindFile(), own);
    EXPECT_EQ(WindowConfig::Load(WindowConfig::FindFile()).windowedWidth, 640);

    // Without XDG_CONFIG_HOME the usual ~/.config stands in.
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", files.root.c_str(), 1);
    EXPECT_EQ(WindowConfig::FindFile(), "gameConfig.ini");
    const std::string dotConfig = files.Write(".config/Corvalune/gameConfig.ini", "[Game Settings]\n");
    EXPECT_EQ(WindowConfig::FindFile(), dotConfig);
}

TEST(WindowGeometryAndDrops, LetterBoxScalesUniformlyAndCentresAndDroppedPathsAreCutAtResources)
{
    // A screen wider than 16:9 is pillar-boxed rather than cropped. (A taller one, letter-boxed,
    // is the bare X server's full screen below.)
    const LetterBox wider = Window::ComputeLetterBox(1280, 720, 2560, 1080);
    EXPECT_EQ(wider.scale, 1.5f);
    EXPECT_EQ(wider.width, 1920);
    EXPECT_EQ(wider.height, 1080);
    EXPECT_EQ(wider.x, 320);
    EXPECT_EQ(wider.y, 0);

    // Dropped files are cut at Resources and classified by the first listed extension.
    std::string relative;
    EXPECT_EQ(Window::ClassifyDroppedFile("/home/a/Game/Resources/Sprites/hero.dds", relative),
              DROPPED_FILE::TEXTURE);
    EXPECT_EQ(relative, "Resources/Sprites/hero.dds");
    EXPECT_EQ(Window::ClassifyDroppedFile("C:\\x\\Resources\\Shaders\\glow.frag", relative),
              DROPPED_FILE::SHADER);
    EXPECT_EQ(relative, "Resources\\Shaders\\glow.frag");
    EXPECT_EQ(Window::ClassifyDroppedFile("/tmp/Resources/a.dds.ogg", relative), DROPPED_FILE::TEXTURE);
    EXPECT_EQ(Window::ClassifyDroppedFile("/tmp/Resources/notes.txt", relative), DROPPED_FILE::NONE);
    EXPECT_EQ(Window::ClassifyDroppedFile("/tmp/assets/hero.dds", relative), DROPPED_FILE::NONE);
}

using WindowEvents = EngineTest;

TEST_F(WindowEvents, DroppedFilesReloadOnlyWhileTheGameIsPaused)
{
    ScratchFolder content(ScratchFolder::ENTER);
    content.Write("Resources/Scripts/door.orin", "[Event] Initialize\n");
    const std::string dropped = "/somewhere/else/Resources/Scripts/door.orin";

    engine->window->OnFileDropped(dropped);
    EXPECT_TRUE(engine->resources->scripts.empty()) << "a playing game ignores drops";

    CurrentScene().playing = false;
    engine->window->OnFileDropped(dropped);
    engine->window->OnFileDropped("/somewhere/else/notes/door.orin");
    ASSERT_EQ(engine->resources->scripts.count("Resources/Scripts/door.orin"), 1u);
    EXPECT_EQ(engine->resources->scripts.size(), 1u);
    EXPECT_TRUE(engine->logger.Lines().empty());
}

class OffscreenWindow : public ::testing::Test
{
protected:
    void TearDown() override { Scene::Engine::Shutdown(); }

    static std::array<GLint, 4> GlViewport()
    {
        std::array<GLint, 4> v{};
        glGetIntegerv(GL_VIEWPORT, v.data());
        return v;
    }
};

// A width with no 16:9 height opens the default window, and says so in one line.
TEST_F(OffscreenWindow, OpensACoreContextAtTheDefaultSizeAndHearsOnlyItsOwnFocusEvents)
{
    ScratchFolder scratch(ScratchFolder::ENTER);
    scratch.Write("gameConfig.ini", "[Game Settings]\nWindowed_Width=1\nWindow_Fullscreen=0\n");
    Window& window = *Scene::Engine::Instance().window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(
        Scene::Engine::Instance().logger.Lines(),
        (std::vector<std::string>{"Error: Failed To Read gameConfig.ini: Windowed_Width = \"1\" gives a "
                                  "1 x 0 window; using the default 1280 x 720"}));

    GLint major = 0, minor = 0, profile = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_GE(major * 10 + minor, 33);
    EXPECT_TRUE((static_cast<unsigned>(profile) & static_cast<unsigned>(GL_CONTEXT_CORE_PROFILE_BIT)) != 0);
    EXPECT_TRUE(window.active) << "an offscreen window never gets focus, so it starts active";
    // Focus events of another (an earlier, destroyed) window change nothing; its own do.
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    focus.window.windowID = SDL_GetWindowID(window.handle) + 1;
    window.HandleEvent(focus);
    EXPECT_TRUE(window.active);
    focus.window.windowID = SDL_GetWindowID(window.handle);
    window.HandleEvent(focus);
    EXPECT_FALSE(window.active);
    focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    window.HandleEvent(focus);
    EXPECT_TRUE(window.active);

    EXPECT_FALSE(window.fullscreen);
    EXPECT_EQ(window.baseWidth, 1280);
    EXPECT_EQ(window.baseHeight, 720);
    EXPECT_EQ(window.viewportWidth, 1280);
    EXPECT_EQ(window.viewportHeight, 720);
    EXPECT_EQ(GlViewport(), (std::array<GLint, 4>{0, 0, 1280, 720}));
}

// A real X server with no window manager (Xvfb, 1920 x 1200): nothing moves or sizes the
// window but the game itself. Skipped where Xvfb is not installed.
class BareXServer : public OffscreenWindow
{
protected:
    void SetUp() override
    {
        int ready[2];
        if (std::system("command -v Xvfb > /dev/null 2>&1") != 0 || pipe(ready) != 0)
        {
            GTEST_SKIP() << "no Xvfb here";
        }
        server = fork();
        if (server == 0)
        {
            close(ready[0]);
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24", "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        std::string number;
        char c = 0;
        while (read(ready[0], &c, 1) == 1 && c != '\n')
        {
            number += c;
        }
        close(ready[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("DISPLAY", (":" + number).c_str(), 1);
    }

    void TearDown() override
    {
        OffscreenWindow::TearDown();
        if (server > 0)
        {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }

    // Lets the X server's answers (moves, sizes) reach the window.
    static void Settle(Window& window)
    {
        for (int i = 0; i < 20; ++i)
        {
            SDL_Delay(10);
            window.PumpMessages();
        }
    }

    pid_t server = -1;
    SavedEnvironment saved{"SDL_VIDEODRIVER", "DISPLAY"};
};

TEST_F(BareXServer, FullScreenCoversTheDisplayAndAResizedWindowStaysLetterBoxed)
{
    ScratchFolder scratch(ScratchFolder::ENTER);
    scratch.Write("gameConfig.ini", "[Game Settings]\nWindow_Fullscreen=1\n");
    Window& window = *Scene::Engine::Instance().window;
    ASSERT_TRUE(window.Create());
    Settle(window);

    int x = -1, y = -1, width = 0, height = 0;
    SDL_GetWindowPosition(window.handle, &x, &y);
    SDL_GetWindowSize(window.handle, &width, &height);
    EXPECT_EQ((std::array<int, 4>{x, y, width, height}), (std::array<int, 4>{0, 0, 1920, 1200}));
    EXPECT_EQ(GlViewport(), (std::array<GLint, 4>{0, 60, 1920, 1080})) << "16:9 with a bar above and below";
    EXPECT_FLOAT_EQ(window.scaleX, 1.5f);

    // The cursor at the picture's centre is the world's (0, 0), its top-left corner (-960, 540).
    auto source = std::make_unique<ScriptedInput>();
    ScriptedInput& cursor = *source;
    InputManager input(window, std::move(source));
    auto mouse = [&](int cursorX, int cursorY)
    {
        cursor.state.cursorX = cursorX;
        cursor.state.cursorY = cursorY;
        input.Update();
        return std::make_pair(input.mousePosition.x, input.mousePosition.y);
    };
    EXPECT_EQ(mouse(960, 600), std::make_pair(0, 0));
    EXPECT_EQ(mouse(0, 60), std::make_pair(-960, 540));

    window.SetWindowed();
    Settle(window);
    SDL_GetWindowSize(window.handle, &width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(1280, 720));
    EXPECT_EQ(GlViewport(), (std::array<GLint, 4>{0, 0, 1280, 720}));

    // The player drags the window square: the picture keeps 16:9 in its middle.
    SDL_SetWindowSize(window.handle, 1000, 1000);
    Settle(window);
    EXPECT_EQ(GlViewport(), (std::array<GLint, 4>{0, 219, 1000, 562}));
    EXPECT_EQ(mouse(500, 500), std::make_pair(0, 0));
}

} // namespace Varn::Test
