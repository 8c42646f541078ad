#pragma once
// What a load is doing, for the loading screen's scripts: a count of work done against the
// count expected, and a label and detail naming the current piece. A load is complete when
// `progress` = `progressTotal` + 1.
#include <cstdint>
#include <string>

namespace Varn::ECS
{

struct LoadProgress
{
    std::string label;
    std::string detail;
    int32_t progress = 0;
    int32_t progressTotal = 0;
};

} // namespace Varn::ECS
