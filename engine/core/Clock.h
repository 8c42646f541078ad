#pragma once
// Where the frame timer reads the time. The game uses SteadyClock; tests substitute a clock
// they advance by hand so that step counts can be checked exactly.
#include <cstdint>

namespace Varn
{

class IClock
{
public:
    virtual ~IClock() = default;
    virtual int64_t NowNanoseconds() const = 0; // monotonic
};

class SteadyClock final : public IClock
{
public:
    int64_t NowNanoseconds() const override;
};

// The standard library's tick clock in 100 ns ticks: stopwatches and system self-timing.
int64_t NowTicks();

} // namespace Varn
