#include "core/Random.h"

#include <cmath>
#include <random>

namespace Varn::Helper
{

namespace
{

std::function<float()>& FractionSource()
{
    static std::function<float()> source;
    return source;
}

float DeviceFraction()
{
    // Opening the device costs several times more than reading it, so each thread keeps one.
    thread_local std::random_device device;
    std::mt19937 twister(device());
    const float u = std::generate_canonical<float, 24>(twister);
    // Rounding to float can land on 1 itself; the half-open range must hold.
    return u < 1.0f ? u : std::nextafter(1.0f, 0.0f);
}

} // namespace

float RandomRange(float a, float b)
{
    if (a == b)
    {
        return a;
    }
    const std::function<float()>& source = FractionSource();
    const float u = source ? source() : DeviceFraction();
    return a + (b - a) * u;
}

void SetRandomFractionSource(std::function<float()> source)
{
    FractionSource() = std::move(source);
}

} // namespace Varn::Helper
