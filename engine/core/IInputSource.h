#pragma once
// Where the InputManager reads raw device state. The game uses SdlInputSource; tests feed a
// source of their own so that edges, dead zones and pad unplugging are checked exactly.
#include <bitset>
#include <cstdint>

union SDL_Event;

namespace Varn
{

// Gamepad 0 as XInput reports it: the button word uses XInput's masks, sticks are signed
// 16-bit with y up, triggers 0..255.
struct PadState
{
    // Masks of codes 256-269 in the button word: A, B, X, Y, d-pad up/down/left/right,
    // shoulders left/right, Start, Back, stick presses left/right.
    static constexpr uint16_t BUTTON_MASKS[14] = {0x1000, 0x2000, 0x4000, 0x8000, 0x0001, 0x0002, 0x0004,
                                                  0x0008, 0x0100, 0x0200, 0x0010, 0x0020, 0x0040, 0x0080};

    uint16_t buttons = 0;
    uint8_t leftTrigger = 0, rightTrigger = 0;
    int16_t thumbLX = 0, thumbLY = 0, thumbRX = 0, thumbRY = 0;
};

struct InputSample
{
    std::bitset<256> keys;        // virtual-key codes held now or pressed since the previous sample
    int cursorX = 0, cursorY = 0; // client-area pixels, y down
    bool padConnected = false;
    PadState pad; // zero when no pad is connected
};

class IInputSource
{
public:
    virtual ~IInputSource() = default;
    virtual InputSample Sample() = 0;
    virtual void StopPadVibration() = 0;
    // The platform's events, for sources that latch presses or follow pads being plugged in.
    virtual void HandleEvent(const SDL_Event& /*event*/) {}
};

} // namespace Varn
