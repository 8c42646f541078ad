#include "core/Timer.h"

namespace Varn
{

namespace
{
const SteadyClock realClock;
}

void FrameCounter::UpdateRealSeconds()
{
    realSeconds = static_cast<float>(static_cast<double>(NowTicks() - startTicks) / 10000000.0);
}

Timer::Timer(const IClock* clock_) : clock(clock_ ? clock_ : &realClock)
{
    lastTime = currentTime = clock->NowNanoseconds();
}

void Timer::BeginFrame()
{
    currentTime = clock->NowNanoseconds();
    deltaTime = static_cast<double>(currentTime - lastTime) / 1000000.0 / 1000.0;
    lastTime = currentTime;
    fps = 1.0 / deltaTime;
}

void Timer::AdvanceCounters()
{
    // Counters time game events, so they run at the game's pace: a game paused by a time
    // scale of 0 must not let an enemy's charge or spawn timer run out behind the pause menu.
    const float advance = COUNTER_STEP * timeScale;
    for (const auto& counter : counters)
    {
        if (!counter->paused)
        {
            counter->elapsed += advance;
        }
    }
}

void Timer::Reset()
{
    lastTime = clock->NowNanoseconds();
    deltaTime = 0.0;
}

FrameCounter* Timer::CreateCounter(bool paused)
{
    auto counter = std::make_unique<FrameCounter>();
    counter->paused = paused;
    counter->startTicks = NowTicks();
    counters.push_back(std::move(counter));
    return counters.back().get();
}

bool Timer::KillCounter(const FrameCounter* counter)
{
    for (auto it = counters.begin(); it != counters.end(); ++it)
    {
        if (it->get() == counter)
        {
            counters.erase(it);
            return true;
        }
    }
    return false;
}

bool Timer::HasCounter(const FrameCounter* counter) const
{
    for (const auto& listed : counters)
    {
        if (listed.get() == counter)
        {
            return true;
        }
    }
    return false;
}

void Timer::SetClock(const IClock* clock_)
{
    clock = clock_ ? clock_ : &realClock;
    Reset();
}

} // namespace Varn
