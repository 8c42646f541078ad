#pragma once
// The one source of chance shared by scripts and particles, owned by the Engine. One seeded
// Mersenne Twister: a run started with the same seed draws the same numbers, and a run without
// one is seeded from the platform's random device, so play differs each time as before. Tests
// may swap in their own fraction source to make draws known. Main thread only.
#include <cstdint>
#include <functional>
#include <random>

namespace Varn
{

class Random
{
public:
    explicit Random(uint32_t seed = DeviceSeed()) { Seed(seed); }

    // A seed from the platform's random device.
    static uint32_t DeviceSeed();

    void Seed(uint32_t value);
    uint32_t Seed() const { return seed; }

    // a + (b - a) * u with u uniform in [0, 1); exactly a when a == b, and then nothing is drawn.
    float Range(float a, float b);

    // Replaces the draw of u for every later Range call; an empty function restores the
    // generator. The source must return values in [0, 1).
    void SetFractionSource(std::function<float()> source) { fractionSource = std::move(source); }

private:
    std::mt19937 twister;
    uint32_t seed = 0;
    std::function<float()> fractionSource; // empty unless a test replaced the draws
};

} // namespace Varn
