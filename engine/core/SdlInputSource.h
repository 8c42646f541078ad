#pragma once
// Keyboard, mouse and the first game controller through SDL2, presented as Windows virtual-key
// codes and an XInput-style pad. Key and button presses seen by the event pump are latched until
// the next sample, so a tap shorter than one step still counts once.
#include "core/IInputSource.h"

#include <array>
#include <cstdint>

struct _SDL_GameController;

namespace Varn
{

class SdlInputSource final : public IInputSource
{
public:
    SdlInputSource();
    ~SdlInputSource() override;

    void HandleEvent(const SDL_Event& event) override;
    InputSample Sample() override;
    void StopPadVibration() override;

    // The virtual-key code of an SDL scancode, 0 when it has none.
    static uint8_t VirtualKey(int scancode);
    // The left/right modifier codes also hold the generic code (shift 16, control 17, alt 18).
    static void AddGenericModifiers(std::bitset<256>& keys);

private:
    void OpenFirstPad();

    std::bitset<256> latched;           // went down since the last sample
    uint16_t latchedPad = 0;            // the pad's buttons that went down since the last sample
    _SDL_GameController* pad = nullptr; // the first controller opened; may be null
    int32_t padInstance = -1;
};

} // namespace Varn
