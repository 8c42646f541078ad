#include "core/Random.h"

#include <cmath>

namespace Varn
{

uint32_t Random::DeviceSeed()
{
    std::random_device device;
    return device();
}

void Random::Seed(uint32_t value)
{
    seed = value;
    twister.seed(value);
}

float Random::Range(float a, float b)
{
    if (a == b)
    {
        return a;
    }
    float u = 0.0f;
    if (fractionSource)
    {
        u = fractionSource();
    }
    else
    {
        u = std::generate_canonical<float, 24>(twister);
        // Rounding to float can land on 1 itself; the half-open range must hold.
        u = u < 1.0f ? u : std::nextafter(1.0f, 0.0f);
    }
    return a + (b - a) * u;
}

} // namespace Varn
