#include "core/InputManager.h"

#include "core/SdlInputSource.h"
#include "core/Window.h"

namespace Varn
{

namespace
{
float StickAxis(int16_t raw)
{
    return static_cast<float>(raw) / 32767.0f;
}

// Both axes inside the square dead zone read as centred; outside it the raw values stand.
InputManager::Stick ReadStick(int16_t rawX, int16_t rawY, int deadZone)
{
    if (rawX >= -deadZone && rawX <= deadZone && rawY >= -deadZone && rawY <= deadZone)
    {
        return {};
    }
    return {StickAxis(rawX), StickAxis(rawY)};
}

float ReadTrigger(uint8_t raw)
{
    return raw < InputManager::TRIGGER_THRESHOLD ? 0.0f : static_cast<float>(raw) / 255.0f;
}
} // namespace

InputManager::InputManager(const Window& window_) : InputManager(window_, std::make_unique<SdlInputSource>())
{
}

InputManager::InputManager(const Window& window_, std::unique_ptr<IInputSource> source_)
    : window(window_), source(std::move(source_))
{
    keysUp.set();
}

InputManager::~InputManager() = default;

void InputManager::SetSource(std::unique_ptr<IInputSource> source_)
{
    source = std::move(source_);
}

void InputManager::HandleEvent(const SDL_Event& event)
{
    source->HandleEvent(event);
}

void InputManager::Edge(int code, bool down)
{
    if (down)
    {
        keysDown.set(code);
        if (keysUp[code])
        {
            keysPressed.set(code);
            keysUp.reset(code);
        }
    }
    else
    {
        if (!keysUp[code])
        {
            keysReleased.set(code);
        }
        keysUp.set(code);
    }
}

void InputManager::Update()
{
    keysDown.reset();
    keysPressed.reset();
    keysReleased.reset();

    const InputSample sample = source->Sample();
    for (int code = 0; code < 256; ++code)
    {
        Edge(code, sample.keys[code]);
    }

    // From the centre of the picture, wherever it is letter-boxed into the window.
    mousePosition.x = sample.cursorX - window.viewportWidth / 2 - window.viewportX;
    mousePosition.y = window.viewportHeight / 2 - sample.cursorY + window.viewportY;

    padState = PadState{};
    padConnected = sample.padConnected;
    if (padConnected)
    {
        padState = sample.pad;
        if (!vibrationStopped)
        {
            source->StopPadVibration();
            vibrationStopped = true;
        }
        leftStick = ReadStick(padState.thumbLX, padState.thumbLY, LEFT_DEAD_ZONE);
        rightStick = ReadStick(padState.thumbRX, padState.thumbRY, RIGHT_DEAD_ZONE);
        leftTrigger = ReadTrigger(padState.leftTrigger);
        rightTrigger = ReadTrigger(padState.rightTrigger);
        for (int i = 0; i < 14; ++i)
        {
            Edge(PAD_FIRST + i, (padState.buttons & PadState::BUTTON_MASKS[i]) != 0);
        }
    }
    else
    {
        // An unplugged pad must not leave a stick or trigger held at its last value.
        leftStick = rightStick = {};
        leftTrigger = rightTrigger = 0.0f;
    }

    mouseDelta = {mousePosition.x - previousMousePosition.x, mousePosition.y - previousMousePosition.y};
    previousMousePosition = mousePosition;
}

int InputManager::PressedKey() const
{
    for (int code = 8; code < 255; ++code)
    {
        if (keysPressed[code])
        {
            return code;
        }
    }
    return 0;
}

std::string InputManager::KeyName(int code)
{
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
    {
        return std::string(1, static_cast<char>(code));
    }
    std::string name;
    if (code >= 112 && code <= 123)
    {
        name = "F";
        return name.append(std::to_string(code - 111));
    }
    if (code >= 96 && code <= 105)
    {
        name = "Keypad ";
        return name.append(std::to_string(code - 96));
    }
    static const std::pair<int, const char*> NAMED[] = {{1, "Left mouse button"},
                                                        {2, "Right mouse button"},
                                                        {4, "Middle mouse button"},
                                                        {5, "Mouse button 4"},
                                                        {6, "Mouse button 5"},
                                                        {8, "Backspace"},
                                                        {9, "Tab"},
                                                        {13, "Enter"},
                                                        {16, "Shift"},
                                                        {17, "Control"},
                                                        {18, "Alt"},
                                                        {19, "Pause"},
                                                        {20, "Caps Lock"},
                                                        {27, "Escape"},
                                                        {32, "Space"},
                                                        {33, "Page Up"},
                                                        {34, "Page Down"},
                                                        {35, "End"},
                                                        {36, "Home"},
                                                        {37, "Left arrow"},
                                                        {38, "Up arrow"},
                                                        {39, "Right arrow"},
                                                        {40, "Down arrow"},
                                                        {44, "Print Screen"},
                                                        {45, "Insert"},
                                                        {46, "Delete"},
                                                        {91, "Left Windows"},
                                                        {92, "Right Windows"},
                                                        {93, "Menu"},
                                                        {106, "Keypad *"},
                                                        {107, "Keypad +"},
                                                        {109, "Keypad -"},
                                                        {110, "Keypad ."},
                                                        {111, "Keypad /"},
                                                        {144, "Num Lock"},
                                                        {145, "Scroll Lock"},
                                                        {160, "Left Shift"},
                                                        {161, "Right Shift"},
                                                        {162, "Left Control"},
                                                        {163, "Right Control"},
                                                        {164, "Left Alt"},
                                                        {165, "Right Alt"},
                                                        {186, ";"},
                                                        {187, "="},
                                                        {188, ","},
                                                        {189, "-"},
                                                        {190, "."},
                                                        {191, "/"},
                                                        {192, "`"},
                                                        {219, "["},
                                                        {220, "\\"},
                                                        {221, "]"},
                                                        {222, "'"},
                                                        {226, "< >"},
                                                        {256, "Pad A"},
                                                        {257, "Pad B"},
                                                        {258, "Pad X"},
                                                        {259, "Pad Y"},
                                                        {260, "Pad up"},
                                                        {261, "Pad down"},
                                                        {262, "Pad left"},
                                                        {263, "Pad right"},
                                                        {264, "Pad left shoulder"},
                                                        {265, "Pad right shoulder"},
                                                        {266, "Pad Start"},
                                                        {267, "Pad Back"},
                                                        {268, "Pad left stick"},
                                                        {269, "Pad right stick"}};
    for (const auto& [named, name] : NAMED)
    {
        if (named == code)
        {
            return name;
        }
    }
    name = "Key ";
    return name.append(std::to_string(code));
}

void InputManager::ClearKeyboard()
{
    for (int code = 0; code < 255; ++code)
    {
        keysDown.reset(code);
        keysPressed.reset(code);
        keysReleased.reset(code);
    }
}

} // namespace Varn
