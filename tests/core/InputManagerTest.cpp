#include "support/EngineTest.h"

#include "core/SdlInputSource.h"

#include <SDL.h>

namespace Varn::Test
{

class Input : public EngineTest
{
protected:
    InputManager& Manager() { return *engine->input; }

    void Poll() { Manager().Update(); }

    // down, pressed, released
    std::tuple<bool, bool, bool> State(int code)
    {
        return {Manager().IsKeyDown(code), Manager().IsKeyPressed(code), Manager().IsKeyReleased(code)};
    }

    static constexpr uint16_t BUTTON_A = 0x1000;
};

TEST_F(Input, UnpluggedPadMakesNoEdgesAndReplugMakesNoNewPress)
{
    using S = std::tuple<bool, bool, bool>;
    input->state.padConnected = true;
    input->state.pad.buttons = BUTTON_A;
    input->state.pad.thumbLX = 20000;
    Poll();
    EXPECT_EQ(State(256), S(true, true, false));
    EXPECT_TRUE(Manager().padConnected);

    input->state.padConnected = false;
    input->state.pad = PadState{};
    Poll();
    EXPECT_EQ(State(256), S(false, false, false));
    EXPECT_FALSE(Manager().padConnected);
    EXPECT_EQ(Manager().leftStick.x, 0.0f) << "a stick must not stay pushed when its pad is gone";

    input->state.padConnected = true;
    input->state.pad.buttons = BUTTON_A;
    Poll();
    EXPECT_EQ(State(256), S(true, false, false));

    input->state.pad.buttons = 0x0080; // right stick press
    Poll();
    EXPECT_EQ(State(256), S(false, false, true));
    EXPECT_EQ(State(269), S(true, true, false));
    EXPECT_EQ(input->vibrationStops, 1) << "the zero-vibration request is sent once per run";
}

TEST_F(Input, SticksUseSquareDeadZonesWithoutRescalingAndTriggersIgnoreTravelBelowThirty)
{
    input->state.padConnected = true;
    input->state.pad.thumbLX = 7000;
    input->state.pad.thumbLY = 9000;
    input->state.pad.thumbRX = 7000;
    input->state.pad.thumbRY = -7000;
    input->state.pad.leftTrigger = 29;
    input->state.pad.rightTrigger = 30;
    Poll();
    EXPECT_EQ(Manager().leftTrigger, 0.0f) << "trigger travel below 30 is ignored";
    EXPECT_FLOAT_EQ(Manager().rightTrigger, 30.0f / 255.0f);
    EXPECT_FLOAT_EQ(Manager().leftStick.x, 7000.0f / 32767.0f);
    EXPECT_FLOAT_EQ(Manager().leftStick.y, 9000.0f / 32767.0f);
    EXPECT_EQ(Manager().rightStick.x, 0.0f);
    EXPECT_EQ(Manager().rightStick.y, 0.0f);

    input->state.pad.thumbLX = 7848; // on the edge: still inside
    input->state.pad.thumbLY = -7848;
    input->state.pad.thumbRX = 8689; // just outside the wider right zone
    input->state.pad.thumbRY = 0;
    Poll();
    EXPECT_EQ(Manager().leftStick.x, 0.0f);
    EXPECT_FLOAT_EQ(Manager().rightStick.x, 8689.0f / 32767.0f);
    EXPECT_EQ(Manager().rightStick.y, 0.0f);
}

TEST_F(Input, SceneLoadForgetsKeysButNotWhichWereHeldAndCodesOutOfRangeAreNeverDown)
{
    input->state.keys.set('D');
    input->state.padConnected = true;
    input->state.pad.buttons = BUTTON_A;
    Poll();
    Manager().ClearKeyboard();
    EXPECT_FALSE(Manager().IsKeyDown('D'));
    EXPECT_FALSE(Manager().IsKeyPressed('D'));
    EXPECT_TRUE(Manager().IsKeyPressed(256)) << "pad codes are not the keyboard's";
    Poll();
    EXPECT_TRUE(Manager().IsKeyDown('D'));
    EXPECT_FALSE(Manager().IsKeyPressed('D')) << "a key held across a load is not a new press";

    // Key edges are checked wherever input is driven (the pad above, buttons, scene loads, the
    // levels); codes past either end are asked for only here.
    input->state.keys.set();
    Poll();
    EXPECT_FALSE(Manager().IsKeyDown(-1));
    EXPECT_FALSE(Manager().IsKeyPressed(270));
    EXPECT_TRUE(Manager().IsKeyDown(255));
}

// Key, mouse and pad presses pressed and released between two samples still read as held once.
TEST(SdlKeys, PressesSeenByThePumpAreLatchedUntilTheNextSample)
{
    SdlInputSource source;
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    source.HandleEvent(event);
    event = SDL_Event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_RIGHT;
    source.HandleEvent(event);
    const InputSample first = source.Sample();
    EXPECT_TRUE(first.keys[27]);
    EXPECT_TRUE(first.keys[2]);
    EXPECT_FALSE(first.padConnected);
    const InputSample second = source.Sample();
    EXPECT_FALSE(second.keys[27]);
    EXPECT_FALSE(second.keys[2]);

    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
    if (device < 0 || !SDL_IsGameController(device))
    {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        GTEST_SKIP() << "no virtual game controller: " << SDL_GetError();
    }
    {
        SdlInputSource pad; // closes its controller before the device goes
        event = SDL_Event{};
        event.type = SDL_CONTROLLERDEVICEADDED;
        event.cdevice.which = device;
        pad.HandleEvent(event);
        ASSERT_TRUE(pad.Sample().padConnected);
        event = SDL_Event{};
        event.type = SDL_CONTROLLERBUTTONDOWN;
        event.cbutton.which = SDL_JoystickGetDeviceInstanceID(device);
        event.cbutton.button = SDL_CONTROLLER_BUTTON_B;
        pad.HandleEvent(event);
        EXPECT_EQ(pad.Sample().pad.buttons, 0x2000) << "B, though it is up again";
        EXPECT_EQ(pad.Sample().pad.buttons, 0);
    }
    SDL_JoystickDetachVirtual(device);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

} // namespace Varn::Test
