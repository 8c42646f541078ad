#pragma once
// Steps sprite-sheet animations: advances the current run of every Animator at its own rate
// and points the entity's SpriteRenderer (or else its UIImage) at the matching sheet cell.
// Writes the Animator's frame state and the renderer's texOffset and frame.
#include "core/ISystem.h"

#include <array>
#include <cstdint>

namespace Varn::ECS
{
struct Animation;
}

namespace Varn::Graphics
{

class AnimationSystem : public ISystem
{
public:
    AnimationSystem(ECS::Scene* scene, const Services& services);
    void Update(const float& dt) override; // dt: the simulation step in seconds

    // One frame on: forward or in reverse, wrapping when looping, else holding at the end.
    static void Advance(ECS::Animation& animation);
    // Texture offset of cell `frame` of a columns x rows sheet, numbered left to right, then
    // top to bottom, frames past the last cell starting over at the first; (0, 0) for a sheet
    // without cells.
    static std::array<float, 2> CellOffset(uint64_t frame, uint32_t columns, uint32_t rows);
};

} // namespace Varn::Graphics
