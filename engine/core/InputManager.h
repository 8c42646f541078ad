#pragma once
// Samples keyboard, mouse and gamepad 0 once per simulation step and keeps three views of each
// of the 270 key codes: held, went down at this poll, went up at this poll. Codes 0-255 are
// Windows virtual-key codes (mouse buttons 1, 2, 4, 5, 6); 256-269 are the pad's buttons.
// Only Update and the scene loader's ClearKeyboard write the state.
#include "core/IInputSource.h"

#include <bitset>
#include <memory>
#include <string>

union SDL_Event;

namespace Varn
{

class Window;

class InputManager
{
public:
    static constexpr int KEY_COUNT = 270;
    static constexpr int PAD_FIRST = 256;
    static constexpr int LEFT_DEAD_ZONE = 7848;
    static constexpr int RIGHT_DEAD_ZONE = 8688;
    static constexpr int TRIGGER_THRESHOLD = 30;

    // Reads the real devices; the mouse is placed in `window`'s drawing area.
    explicit InputManager(const Window& window);
    InputManager(const Window& window, std::unique_ptr<IInputSource> source);
    ~InputManager();

    void Update(); // one poll: the first thing each simulation step does
    // Platform events, passed to the source: they feed its latch and pad hot-plugging.
    void HandleEvent(const SDL_Event& event);
    // Before a scene load: forget codes 0-254 without touching the edge memory, so a key held
    // across the load reports no new press.
    void ClearKeyboard();
    void SetSource(std::unique_ptr<IInputSource> source);

    bool IsKeyDown(int code) const { return Valid(code) && keysDown[code]; }
    bool IsKeyPressed(int code) const { return Valid(code) && keysPressed[code]; }
    bool IsKeyReleased(int code) const { return Valid(code) && keysReleased[code]; }
    // The keyboard key (8-254) that went down at this poll, the lowest when several did; 0 when
    // none. What a controls menu waits for when the player picks a key.
    int PressedKey() const;
    // A code's name as a player knows it: "Space", "Right arrow", "X", "F5", "Left mouse button",
    // "Pad A"; "Key N" for a code without one.
    static std::string KeyName(int code);

    struct Point
    {
        int x = 0, y = 0;
    };
    struct Stick
    {
        float x = 0.0f, y = 0.0f;
    };

    std::bitset<KEY_COUNT> keysDown;
    std::bitset<KEY_COUNT> keysPressed;
    std::bitset<KEY_COUNT> keysReleased;
    std::bitset<KEY_COUNT> keysUp; // edge memory: up at the previous poll; starts all set
    Point mousePosition;           // pixels from the picture centre, y up
    Point previousMousePosition;
    Point mouseDelta;
    bool padConnected = false;
    PadState padState;
    Stick leftStick, rightStick;                   // [-1, 1]
    float leftTrigger = 0.0f, rightTrigger = 0.0f; // [0, 1]

private:
    static bool Valid(int code) { return code >= 0 && code < KEY_COUNT; }
    void Edge(int code, bool down);

    const Window& window;
    std::unique_ptr<IInputSource> source;
    bool vibrationStopped = false; // the one zero-vibration request has been sent
};

} // namespace Varn
