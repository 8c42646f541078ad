#include "core/Clock.h"

#include <chrono>

namespace Varn
{

int64_t SteadyClock::NowNanoseconds() const
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t NowTicks()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count() / 100;
}

} // namespace Varn
