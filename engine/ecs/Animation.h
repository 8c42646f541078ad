#pragma once
// One named run of sprite-sheet frames. An Animator owns a list of these and points at the one
// playing; the AnimationSystem advances currentFrame between startFrame and endFrame.
#include <cstdint>
#include <string>
#include <utility>

namespace Varn::ECS
{

struct Animation
{
    Animation() = default;
    Animation(int32_t start, int32_t end, std::string name_, bool looping_)
        : startFrame(start), endFrame(end), currentFrame(start), name(std::move(name_)), looping(looping_)
    {
    }

    int32_t startFrame = 0;   // "Start Frame": first sheet cell of the run
    int32_t endFrame = 0;     // "End Frame": last sheet cell, inclusive
    int32_t currentFrame = 0; // the cell shown now; starts at startFrame
    std::string name;         // "Name": how scripts and behaviours select the run
    bool looping = false;     // "Looping": wrap to the other end instead of stopping there
    bool reverse = false;     // "Reverse": play from endFrame down to startFrame

    bool operator==(const Animation& o) const = default;
};

} // namespace Varn::ECS
