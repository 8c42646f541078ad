#include "core/SdlInputSource.h"

#include <SDL.h>

namespace Varn
{

namespace
{

std::array<uint8_t, SDL_NUM_SCANCODES> BuildKeyTable()
{
    std::array<uint8_t, SDL_NUM_SCANCODES> table{};
    for (int i = 0; i < 26; ++i)
    {
        table[SDL_SCANCODE_A + i] = static_cast<uint8_t>('A' + i);
    }
    table[SDL_SCANCODE_0] = '0';
    for (int i = 0; i < 9; ++i)
    {
        table[SDL_SCANCODE_1 + i] = static_cast<uint8_t>('1' + i);
    }
    for (int i = 0; i < 12; ++i)
    {
        table[SDL_SCANCODE_F1 + i] = static_cast<uint8_t>(112 + i);
    }
    table[SDL_SCANCODE_KP_0] = 96;
    for (int i = 0; i < 9; ++i)
    {
        table[SDL_SCANCODE_KP_1 + i] = static_cast<uint8_t>(97 + i);
    }
    const std::pair<SDL_Scancode, uint8_t> named[] = {{SDL_SCANCODE_SPACE, 32},
                                                      {SDL_SCANCODE_RETURN, 13},
                                                      {SDL_SCANCODE_KP_ENTER, 13},
                                                      {SDL_SCANCODE_ESCAPE, 27},
                                                      {SDL_SCANCODE_BACKSPACE, 8},
                                                      {SDL_SCANCODE_TAB, 9},
                                                      {SDL_SCANCODE_LEFT, 37},
                                                      {SDL_SCANCODE_UP, 38},
                                                      {SDL_SCANCODE_RIGHT, 39},
                                                      {SDL_SCANCODE_DOWN, 40},
                                                      {SDL_SCANCODE_LSHIFT, 160},
                                                      {SDL_SCANCODE_RSHIFT, 161},
                                                      {SDL_SCANCODE_LCTRL, 162},
                                                      {SDL_SCANCODE_RCTRL, 163},
                                                      {SDL_SCANCODE_LALT, 164},
                                                      {SDL_SCANCODE_RALT, 165},
                                                      {SDL_SCANCODE_PAUSE, 19},
                                                      {SDL_SCANCODE_CAPSLOCK, 20},
                                                      {SDL_SCANCODE_PAGEUP, 33},
                                                      {SDL_SCANCODE_PAGEDOWN, 34},
                                                      {SDL_SCANCODE_END, 35},
                                                      {SDL_SCANCODE_HOME, 36},
                                                      {SDL_SCANCODE_PRINTSCREEN, 44},
                                                      {SDL_SCANCODE_INSERT, 45},
                                                      {SDL_SCANCODE_DELETE, 46},
                                                      {SDL_SCANCODE_LGUI, 91},
                                                      {SDL_SCANCODE_RGUI, 92},
                                                      {SDL_SCANCODE_APPLICATION, 93},
                                                      {SDL_SCANCODE_KP_MULTIPLY, 106},
                                                      {SDL_SCANCODE_KP_PLUS, 107},
                                                      {SDL_SCANCODE_KP_MINUS, 109},
                                                      {SDL_SCANCODE_KP_PERIOD, 110},
                                                      {SDL_SCANCODE_KP_DIVIDE, 111},
                                                      {SDL_SCANCODE_NUMLOCKCLEAR, 144},
                                                      {SDL_SCANCODE_SCROLLLOCK, 145},
                                                      {SDL_SCANCODE_SEMICOLON, 186},
                                                      {SDL_SCANCODE_EQUALS, 187},
                                                      {SDL_SCANCODE_COMMA, 188},
                                                      {SDL_SCANCODE_MINUS, 189},
                                                      {SDL_SCANCODE_PERIOD, 190},
                                                      {SDL_SCANCODE_SLASH, 191},
                                                      {SDL_SCANCODE_GRAVE, 192},
                                                      {SDL_SCANCODE_LEFTBRACKET, 219},
                                                      {SDL_SCANCODE_BACKSLASH, 220},
                                                      {SDL_SCANCODE_RIGHTBRACKET, 221},
                                                      {SDL_SCANCODE_APOSTROPHE, 222},
                                                      {SDL_SCANCODE_NONUSBACKSLASH, 226}};
    for (const auto& [scancode, code] : named)
    {
        table[scancode] = code;
    }
    return table;
}

const std::array<uint8_t, SDL_NUM_SCANCODES> keyTable = BuildKeyTable();

// Windows numbers the mouse buttons left 1, right 2, middle 4, extra 5 and 6.
int MouseCode(int sdlButton)
{
    switch (sdlButton)
    {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 2;
    case SDL_BUTTON_MIDDLE:
        return 4;
    case SDL_BUTTON_X1:
        return 5;
    case SDL_BUTTON_X2:
        return 6;
    default:
        return 0;
    }
}

// SDL's buttons in the order of the pad's codes 256-269.
const SDL_GameControllerButton padOrder[14] = {SDL_CONTROLLER_BUTTON_A,
                                               SDL_CONTROLLER_BUTTON_B,
                                               SDL_CONTROLLER_BUTTON_X,
                                               SDL_CONTROLLER_BUTTON_Y,
                                               SDL_CONTROLLER_BUTTON_DPAD_UP,
                                               SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                               SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                                               SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
                                               SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                               SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                               SDL_CONTROLLER_BUTTON_START,
                                               SDL_CONTROLLER_BUTTON_BACK,
                                               SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                               SDL_CONTROLLER_BUTTON_RIGHTSTICK};

// SDL's stick y grows downwards, XInput's upwards; -32768 has no positive twin.
int16_t FlipAxis(int16_t value)
{
    return static_cast<int16_t>(value == -32768 ? 32767 : -value);
}

uint8_t TriggerByte(int16_t value)
{
    return static_cast<uint8_t>(value <= 0 ? 0 : value * 255 / 32767);
}

} // namespace

SdlInputSource::SdlInputSource() = default;

SdlInputSource::~SdlInputSource()
{
    if (pad != nullptr)
    {
        SDL_GameControllerClose(pad);
    }
}

uint8_t SdlInputSource::VirtualKey(int scancode)
{
    return scancode >= 0 && scancode < SDL_NUM_SCANCODES ? keyTable[scancode] : 0;
}

void SdlInputSource::AddGenericModifiers(std::bitset<256>& keys)
{
    keys[16] = keys[16] || keys[160] || keys[161];
    keys[17] = keys[17] || keys[162] || keys[163];
    keys[18] = keys[18] || keys[164] || keys[165];
}

void SdlInputSource::HandleEvent(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_KEYDOWN:
        if (const uint8_t code = VirtualKey(event.key.keysym.scancode))
        {
            latched.set(code);
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (const int code = MouseCode(event.button.button))
        {
            latched.set(code);
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        if (pad != nullptr && event.cbutton.which == padInstance)
        {
            for (int i = 0; i < 14; ++i)
            {
                if (event.cbutton.button == padOrder[i])
                {
                    latchedPad = static_cast<uint16_t>(latchedPad | PadState::BUTTON_MASKS[i]);
                }
            }
        }
        break;
    case SDL_CONTROLLERDEVICEADDED:
        if (pad == nullptr)
        {
            OpenFirstPad();
        }
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (pad != nullptr && event.cdevice.which == padInstance)
        {
            SDL_GameControllerClose(pad);
            pad = nullptr;
            padInstance = -1;
            OpenFirstPad();
        }
        break;
    default:
        break;
    }
}

void SdlInputSource::OpenFirstPad()
{
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0)
    {
        return;
    }
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
    {
        if (SDL_IsGameController(i) && (pad = SDL_GameControllerOpen(i)) != nullptr)
        {
            padInstance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
            return;
        }
    }
}

InputSample SdlInputSource::Sample()
{
    InputSample sample;
    sample.keys = latched;
    latched.reset();
    const uint16_t latchedPadButtons = latchedPad;
    latchedPad = 0;

    int count = 0;
    const Uint8* held = SDL_GetKeyboardState(&count);
    for (int scancode = 0; held != nullptr && scancode < count; ++scancode)
    {
        if (held[scancode] != 0)
        {
            if (const uint8_t code = VirtualKey(scancode))
            {
                sample.keys.set(code);
            }
        }
    }
    const Uint32 buttons = SDL_GetMouseState(&sample.cursorX, &sample.cursorY);
    for (int button = SDL_BUTTON_LEFT; button <= SDL_BUTTON_X2; ++button)
    {
        if ((buttons & SDL_BUTTON(button)) != 0)
        {
            sample.keys.set(MouseCode(button));
        }
    }
    AddGenericModifiers(sample.keys);

    if (pad != nullptr && SDL_GameControllerGetAttached(pad))
    {
        sample.padConnected = true;
        sample.pad.buttons = latchedPadButtons;
        for (int i = 0; i < 14; ++i)
        {
            if (SDL_GameControllerGetButton(pad, padOrder[i]) != 0)
            {
                sample.pad.buttons |= PadState::BUTTON_MASKS[i];
            }
        }
        sample.pad.thumbLX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        sample.pad.thumbLY = FlipAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
        sample.pad.thumbRX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX);
        sample.pad.thumbRY = FlipAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY));
        sample.pad.leftTrigger = TriggerByte(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
        sample.pad.rightTrigger =
            TriggerByte(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    }
    return sample;
}

void SdlInputSource::StopPadVibration()
{
    if (pad != nullptr)
    {
        SDL_GameControllerRumble(pad, 0, 0, 0);
    }
}

} // namespace Varn
