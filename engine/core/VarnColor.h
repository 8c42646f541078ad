#pragma once
// A colour of four floats; components are usually in [0, 1] but nothing clamps them.

namespace Varn
{

struct VarnColor
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    constexpr VarnColor() = default;
    constexpr VarnColor(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}
    constexpr bool operator==(const VarnColor& o) const = default;
};

} // namespace Varn
