#pragma once
// The one source of chance shared by particles and scripts. Each draw seeds a fresh 32-bit
// Mersenne Twister from the platform's random device, so draws are independent and not
// reproducible. Tests swap in their own fraction source to make draws known.
#include <functional>

namespace Varn::Helper
{

// a + (b - a) * u with u uniform in [0, 1); exactly a when a == b, and then nothing is drawn.
float RandomRange(float a, float b);

// Replaces the draw of u for every later RandomRange call; an empty function restores the
// random device. The source must return values in [0, 1). Main-thread use only.
void SetRandomFractionSource(std::function<float()> source);

} // namespace Varn::Helper
