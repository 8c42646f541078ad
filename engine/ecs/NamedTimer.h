#pragma once
// A named duration that content attaches to a script component ("Timer": {"Name", "Duration"}),
// so a script can look a delay up by name instead of writing the number into its ORIN text.
// This is plain data; the frame Timer in core/Timer.h is the engine's clock and unrelated.
#include <string>

namespace Varn::ECS
{

struct NamedTimer
{
    std::string name;      // "Name"
    float duration = 0.0f; // "Duration", seconds

    bool operator==(const NamedTimer& o) const = default;
};

} // namespace Varn::ECS
