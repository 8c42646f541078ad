// The game's front end as shipped in Resources/: the logo, the main menu, the loading screen,
// the HUD and the pause menu, driven through scripted keys, pad buttons and the mouse.
#include "support/DrawingTest.h"

#include "ecs/UIButton.h"
#include "ecs/UIText.h"
#include "graphics/LayerFramebuffer.h"
#include "graphics/LayerFramebuffers.h"
#include "resource/AudioManager.h"
#include "resource/Shader.h"
#include "resource/Texture2D.h"
#include "scene/JSONManager.h"
#include "script/GlobalVariables.h"
#include "script/ScriptSystem.h"

namespace Varn::Test
{

class FrontEnd : public Drawing
{
protected:
    void SetUp() override
    {
        Open("[Game Settings]\nWindow_Fullscreen=0\nWindowed_Width=640\n");
        PlayAsANewPlayer();
    }

    Script::GlobalVariables& Globals() { return CurrentScene().scriptSystem->compiler.globals; }

    void Step(int steps = 1)
    {
        for (int i = 0; i < steps; ++i)
        {
            // As the frame loop does: the step is scaled by the time scale.
            engine->Step(engine->timer->timeScale / 60.0f);
        }
    }
    // A key or button pressed and released between two polls.
    void Tap(int code)
    {
        input->taps.set(static_cast<std::size_t>(code));
        Step();
    }
    // A pad button pressed for one step and let go for the next.
    void Pad(uint16_t button)
    {
        input->state.padConnected = true;
        input->state.pad.buttons = button;
        Step();
        input->state.pad.buttons = 0;
        Step();
    }
    void Load(const std::string& path)
    {
        engine->jsonManager->LoadScene(path, false);
        Step(); // Initialize
    }

    std::string RestingImage(const std::string& button) const
    {
        IEntity* e = Find(button);
        return e != nullptr ? e->GetComponent<ECS::UIButton>()->buttonTextureDefault->name
                            : "<no " + button + ">";
    }
    // The picture the button shows now (under the cursor, pressed or resting).
    std::string ShownImage(const std::string& button) const
    {
        return Get(button)->GetComponent<ECS::UIButton>()->currentTexture->name;
    }
    float ScaleX(const std::string& name) const { return Get(name)->GetComponent<Transform>()->scale.x; }
    const Graphics::LayerFramebuffer* Layer(int32_t layer) const
    {
        return engine->layerFramebuffers->Find(layer);
    }

    void ExpectContentRanCleanly() const
    {
        EXPECT_EQ(ContentErrors(engine->logger.Lines()), std::vector<std::string>{});
    }

    static constexpr const char* HIGHLIGHT = "Resources/Sprites/UI/button_hover.png";
    static constexpr const char* RESTING = "Resources/Sprites/UI/button.png";
};

TEST_F(FrontEnd, LogoFadesInAndEndsOnItsOwnOrAtAnyKeyAndTheMenuShowsProgressAndContinues)
{
    Load("Resources/Scenes/LogoScene.scene");
    const auto* logo = Get("Logo")->GetComponent<SpriteRenderer>();
    EXPECT_EQ(logo->opacity, 0.0f);
    Step(30);
    EXPECT_NEAR(logo->opacity, 0.5f, 0.02f);
    Step(40);
    EXPECT_EQ(logo->opacity, 1.0f);
    Step(130);
    EXPECT_EQ(CurrentScene().name, "Resources/Scenes/LogoScene.scene");
    Step(10);
    EXPECT_EQ(CurrentScene().name, "Resources/Scenes/MainMenu.scene");
    Step();
    EXPECT_EQ(Text("PlayLabel"), "Play");
    EXPECT_EQ(Text("FurthestText"), "Furthest level: -");
    EXPECT_EQ(Text("BestTime2Text"), "Level 2  -");

    Load("Resources/Scenes/LogoScene.scene");
    Step(30);
    Tap('K');
    EXPECT_EQ(CurrentScene().name, "Resources/Scenes/MainMenu.scene");
    ExpectContentRanCleanly();

    // With progress the menu shows it and continues from the furthest level.
    Globals().floats["FurthestLevel"] = 2.0f;
    Globals().floats["Pickups"] = 14.0f;
    Globals().floats["BestTime1"] = 65.34f;
    Globals().floats["RunPickups"] = 5.0f;
    Load("Resources/Scenes/MainMenu.scene");
    EXPECT_EQ(Text("PlayLabel"), "Continue");
    EXPECT_EQ(Text("FurthestText"), "Furthest level: 2");
    EXPECT_EQ(Text("GemsText"), "Gems: 14");
    EXPECT_EQ(Text("BestTime1Text"), "Level 1  1:05.3");
    EXPECT_EQ(Text("BestTime3Text"), "Level 3  -");
    EXPECT_EQ(RestingImage("PlayButton"), HIGHLIGHT);
    EXPECT_EQ(RestingImage("QuitButton"), RESTING);

    // Up from the first button wraps round to Quit; Down comes back.
    Tap(38);
    EXPECT_EQ(RestingImage("QuitButton"), HIGHLIGHT);
    EXPECT_EQ(RestingImage("PlayButton"), RESTING);
    Tap(40);
    EXPECT_EQ(RestingImage("PlayButton"), HIGHLIGHT);

    Tap(13);
    Step(10);
    EXPECT_EQ(CurrentScene().name, "Resources/Scenes/MainMenu.scene") << "leaves after the select sound";
    Step(15);
    EXPECT_EQ(CurrentScene().name, "Resources/Scenes/Loading.scene");
    EXPECT_EQ(Globals().floats["NextLevel"], 2.0f);
    EXPECT_EQ(Globals().floats["RunPickups"], 0.0f);
    Step();
    EXPECT_EQ(Text("LoadingText"), "Loading level 2");
    EXPECT_EQ(ScaleX("LoadingBarFill"), 0.0f);
    ExpectContentRanCleanly();
}

// The options switch the cursor, set the window's size and the two volumes, and the controls page
// binds keys: a pick, the defaults, a swap with the action that had the key, a refused key, a
// cancel. Each change is saved at once, Escape goes back a page, and the level obeys the new keys.
TEST_F(FrontEnd, OptionsSwitchTheCursorSizeTheWindowSetTheVolumesAndBindTheKeysTheLevelObeys)
{
    // A key tapped, then a step without it, so the same key can be tapped again.
    const auto Press = [this](int code)
    {
        Tap(code);
        Step();
    };
    Load("Resources/Scenes/MainMenu.scene");
    IEntity* mainGroup = Find("MainGroup");
    IEntity* optionsGroup = Find("OptionsGroup");
    EXPECT_TRUE(mainGroup->gameObjectActive);
    EXPECT_FALSE(optionsGroup->gameObjectActive);

    // The pad's d-pad and A button work as the arrows and Enter do.
    Pad(PadState::BUTTON_MASKS[5]); // d-pad down
    EXPECT_EQ(RestingImage("OptionsButton"), HIGHLIGHT);
    Pad(PadState::BUTTON_MASKS[0]); // A
    EXPECT_FALSE(mainGroup->gameObjectActive);
    EXPECT_TRUE(optionsGroup->gameObjectActive);
    EXPECT_EQ(RestingImage("FullscreenButton"), HIGHLIGHT);
    EXPECT_EQ(Text("FullscreenLabel"), "Display: Windowed");
    EXPECT_EQ(Text("CursorLabel"), "Cursor: Shown");

    Tap(40);
    Tap(32);
    EXPECT_FALSE(Globals().bools["CursorVisible"]);
    EXPECT_FALSE(engine->window->cursorVisible);
    EXPECT_EQ(Text("CursorLabel"), "Cursor: Hidden");
    // An option is saved when it changes, not only when the game closes.
    const std::string saveFile =
        Script::GlobalVariables::UserFolder() + "/" + Script::GlobalVariables::FILE_NAME;
    std::string saved;
    ReadTextFile(saveFile, saved);
    EXPECT_NE(saved.find("Bool CursorVisible 0\n"), std::string::npos) << saved;
    Tap(13);
    EXPECT_TRUE(Globals().bools["CursorVisible"]);
    EXPECT_TRUE(engine->window->cursorVisible);

    Tap(27);
    EXPECT_TRUE(mainGroup->gameObjectActive);
    EXPECT_FALSE(optionsGroup->gameObjectActive);
    EXPECT_EQ(RestingImage("OptionsButton"), HIGHLIGHT) << "back on the button that opened the options";

    Press(13);
    EXPECT_EQ(Text("MusicLabel"), "Music: 100%");
    Press(13); // display: from the file's window to a window 960 wide
    EXPECT_EQ(Text("FullscreenLabel"), "Display: window 960 x 540");
    EXPECT_EQ(engine->window->viewportWidth, 960);
    Press(13);
    EXPECT_EQ(Text("FullscreenLabel"), "Display: window 1280 x 720");
    EXPECT_EQ(engine->window->viewportHeight, 720);

    Press(40);
    Press(40);
    Press(32); // music: down by 20
    Press(37); // and by 10
    EXPECT_EQ(Text("MusicLabel"), "Music: 70%");
    EXPECT_FLOAT_EQ(engine->audio->secondaryVolume, 0.7f);
    Press(40);
    input->state.padConnected = true;
    input->state.pad.buttons = PadState::BUTTON_MASKS[7]; // d-pad right: effects are at 100 already
    Step();
    input->state.pad.buttons = PadState::BUTTON_MASKS[6]; // d-pad left
    Step();
    input->state.pad.buttons = 0;
    Step();
    EXPECT_EQ(Text("EffectsLabel"), "Effects: 90%");
    EXPECT_FLOAT_EQ(engine->audio->primaryVolume, 0.9f);
    ReadTextFile(saveFile, saved);
    for (const char* line : {"Float MusicVolume 70\n", "Float EffectsVolume 90\n", "Float WindowWidth 1280\n",
                             "Float WindowHeight 720\n"})
    {
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in " << saved;
    }

    Press(40);
    Press(13);
    EXPECT_TRUE(Get("ControlsGroup")->gameObjectActive);
    EXPECT_EQ(Text("Key2Label"), "Jump: Space   (also W, Up arrow, pad A)");
    const auto pick = [&](int row, int key)
    {
        for (int moves = 0; moves < 9 && RestingImage("Key" + std::to_string(row) + "Button") != HIGHLIGHT;
             ++moves)
        {
            Press(40);
        }
        ASSERT_EQ(RestingImage("Key" + std::to_string(row) + "Button"), HIGHLIGHT);
        Press(13);
        Press(key);
    };
    pick(2, 'P');
    EXPECT_EQ(Text("Key2Label"), "Jump: P   (also W, Up arrow, pad A)");
    EXPECT_EQ(Globals().floats["KeyJump"], 'P');
    for (int row = 0; row < 5; ++row)
    {
        Press(40); // down to Default keys
    }
    Press(13);
    EXPECT_EQ(Globals().floats["KeyJump"], ' ');
    EXPECT_EQ(Text("ControlsNote"), "Every key is back to its default");
    pick(2, 'P');
    pick(3, 'P'); // shoot takes jump's key; jump gets shoot's
    EXPECT_EQ(Globals().floats["KeyShoot"], 'P');
    EXPECT_EQ(Globals().floats["KeyJump"], 'X');
    EXPECT_EQ(Text("ControlsNote"), "Jump is now on X");
    Press(13);
    EXPECT_EQ(Text("Key3Label"), "Shoot: press a key   (Escape cancels)");
    Press('A');
    EXPECT_EQ(Text("ControlsNote"), "A stays with Run left");
    EXPECT_EQ(Globals().floats["KeyShoot"], 'P');
    Press(13);
    Press(27);
    EXPECT_EQ(Text("ControlsNote"), "Nothing changed");
    EXPECT_TRUE(Get("ControlsGroup")->gameObjectActive) << "the Escape that cancels stays on the page";
    ReadTextFile(saveFile, saved);
    EXPECT_NE(saved.find("Float KeyJump 88\n"), std::string::npos) << saved;
    Press(27);
    EXPECT_TRUE(Get("OptionsGroup")->gameObjectActive);
    Press(27);
    EXPECT_TRUE(Get("MainGroup")->gameObjectActive);
    ExpectContentRanCleanly();

    // In the level, Space no longer jumps and X does.
    Load("Resources/Scenes/Level1.scene");
    Step(40);
    auto* player = Get("Player")->GetComponent<Transform>();
    const float ground = player->position.y;
    Press(' ');
    Step(10);
    EXPECT_NEAR(player->position.y, ground, 1.0f);
    Press('X');
    Step(10);
    EXPECT_GT(player->position.y, ground + 50.0f);
}

TEST_F(FrontEnd, PauseMenuBlursTheWorldStopsTimeAndResumesAndTheMouseSelectsAndChooses)
{
    const std::string director = folder.Write(
        "director.orin", "[Event] Initialize\n[Action]\n"
                         "CreatePrefab Resources/Prefabs/UI/HUD.prefab 0 0 0\n"
                         "CreatePrefab Resources/Prefabs/UI/PauseMenu.prefab 0 0 0\n"
                         "CreatePrefab Resources/Prefabs/Items/Gem.prefab 300 0 0\n[End]\n"
                         "[Event] True\n[Action]\nFloatOp #g_LevelTime + #time_delta #g_LevelTime\n[End]\n");
    const std::string player =
        folder.Write("player.orin", "float PlayerHealth\nfloat PlayerArmour\nfloat LevelGems\n");
    std::string scene =
        R"([{"ID":"Main Camera","ID Type":0,"Transform":{},"Camera":{}},)"
        R"({"ID":"Director","ID Type":0,"Transform":{},"Script":{"File Path":{"File Path 0":")" +
        director +
        R"("}}},)"
        R"({"ID":"Player","ID Type":0,"Layer":2,"Transform":{},"Sprite Renderer":{},)"
        R"("Script":{"File Path":{"File Path 0":")" +
        player + R"("},"Float List":{"PlayerHealth":50,"PlayerArmour":25,"LevelGems":2}}})";
    for (int layer = 0; layer < 4; ++layer)
    {
        scene += R"(,{"ID":"Layer)" + std::to_string(layer) + R"(","ID Type":0,"Layer":)" +
                 std::to_string(layer) + R"(,"Transform":{},"Sprite Renderer":{}})";
    }
    Globals().floats["RunPickups"] = 3.0f;
    Globals().floats["LevelTime"] = 65.34f;
    Load(folder.Write("level.scene", scene + "]"));
    Step(2); // the prefabs' own Initialize, then their first pass

    // The bars are 1.25 times the 256-unit picture when full, and grow from their left end.
    EXPECT_NEAR(ScaleX("HUDHealthFill"), 0.5f * 1.25f, 1e-5f);
    EXPECT_NEAR(Get("HUDHealthFill")->GetComponent<Transform>()->position.x, -880.0f + 0.5f * 160.0f, 1e-3f);
    EXPECT_NEAR(ScaleX("HUDArmourFill"), 0.25f * 1.25f, 1e-5f);
    EXPECT_EQ(Text("HUDGemText"), "x 5") << "the run's 3 and the level's 2";
    EXPECT_EQ(Text("HUDTimeText"), "Time 1:05.3");
    EXPECT_EQ(Text("HUDLevelText"), "Level 1");

    IEntity* group = Find("PauseGroup");
    ASSERT_NE(group, nullptr);
    EXPECT_FALSE(group->gameObjectActive);
    Tap(27);
    EXPECT_TRUE(group->gameObjectActive);
    EXPECT_EQ(engine->timer->timeScale, 0.0f);
    for (int layer = 0; layer < 4; ++layer)
    {
        const Graphics::LayerFramebuffer* fbo = Layer(layer);
        ASSERT_NE(fbo, nullptr) << layer;
        EXPECT_EQ(fbo->shader->name, "fboBlurShader") << layer;
        EXPECT_EQ(fbo->tint.a, 0.5f) << layer;
    }
    EXPECT_EQ(RestingImage("PauseResumeButton"), HIGHLIGHT);

    // Time stands still (the level's clock counts steps of 0, a gem stops bobbing even for
    // 40 s), yet the menu still answers.
    const float pausedAt = Globals().floats["LevelTime"];
    const Transform* gem = Get("Gem")->GetComponent<Transform>();
    const float gemAt = gem->position.y;
    Step(40 * 60);
    EXPECT_EQ(Globals().floats["LevelTime"], pausedAt);
    EXPECT_EQ(gem->position.y, gemAt);
    Tap(13);
    EXPECT_FALSE(group->gameObjectActive);
    EXPECT_EQ(engine->timer->timeScale, 1.0f);
    for (int layer = 0; layer < 4; ++layer)
    {
        EXPECT_EQ(Layer(layer)->shader->name, "fboShader") << layer;
        EXPECT_EQ(Layer(layer)->tint.a, 1.0f) << layer;
    }
    Step(6);
    EXPECT_GT(gem->position.y, gemAt) << "resumed, it bobs again";

    // The pad's Start pauses too; Menu leaves for the main menu with the world restored.
    Pad(PadState::BUTTON_MASKS[10]);
    EXPECT_TRUE(group->gameObjectActive);
    EXPECT_EQ(engine->timer->timeScale, 0.0f);
    Tap(40);
    EXPECT_EQ(RestingImage("PauseQuitButton"), HIGHLIGHT);
    ExpectContentRanCleanly();
    Tap(13);
    EXPECT_EQ(CurrentScene().name, "Resources/Scenes/MainMenu.scene");
    EXPECT_EQ(engine->timer->timeScale, 1.0f);
    EXPECT_EQ(Layer(2)->shader->name, "fboShader");

    // On the game-over screen, hovering selects a button and a click chooses it.
    Load("Resources/Scenes/GameOver.scene");
    IEntity* menu = Find("MenuButton");
    const auto* button = menu->GetComponent<ECS::UIButton>();
    if (button->buttonTextureDefault->width == 0)
    {
        GTEST_SKIP() << "the button pictures are not in Resources yet";
    }
    EXPECT_EQ(RestingImage("RetryButton"), HIGHLIGHT);

    // The cursor in picture pixels over the button's centre (y grows downwards).
    const Window& window = *engine->window;
    const float pixelsPerUnit = static_cast<float>(window.viewportWidth) / 1920.0f;
    const Transform* at = menu->GetComponent<Transform>();
    input->state.cursorX = window.viewportWidth / 2 + static_cast<int>(at->position.x * pixelsPerUnit);
    input->state.cursorY = window.viewportHeight / 2 - static_cast<int>(at->position.y * pixelsPerUnit);
    Step(3); // the button sees the cursor, tells the menu, the menu selects it
    EXPECT_EQ(RestingImage("MenuButton"), HIGHLIGHT);
    EXPECT_EQ(RestingImage("RetryButton"), RESTING);

    // The keys move the selection away from the resting cursor: only the selected button is lit.
    Tap(38);
    Step();
    EXPECT_EQ(ShownImage("RetryButton"), HIGHLIGHT);
    EXPECT_EQ(ShownImage("MenuButton"), RESTING) << "the cursor's button is not lit as well";

    input->state.keys.set(1);
    Step(2);
    input->state.keys.reset(1);
    Step(25);
    EXPECT_EQ(CurrentScene().name, "Resources/Scenes/MainMenu.scene");
    ExpectContentRanCleanly();
}

} // namespace Varn::Test
