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
