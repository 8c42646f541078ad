#include "ai/StopwatchLeaves.h"

#include "core/Clock.h"
#include "core/Timer.h"

namespace Varn::AI
{

namespace
{
// The watch's counter when it is still alive in its timer's list, else null.
FrameCounter* Live(const Watch& watch)
{
    return watch.counter != nullptr && watch.timer->HasCounter(watch.counter) ? watch.counter : nullptr;
}
} // namespace

NodeStatus StartWatch::Run()
{
    FrameCounter* live = Live(watch);
    if (live == nullptr)
    {
        return Failure;
    }
    live->lastElapsed = live->elapsed;
    live->elapsed = 0.0f;
    live->startTicks = NowTicks();
    if (flag != nullptr)
    {
        *flag = true;
    }
    return Success;
}

NodeStatus StopWatch::Run()
{
    FrameCounter* live = Live(watch);
    if (live == nullptr)
    {
        return Failure;
    }
    if (flag != nullptr)
    {
        *flag = false;
    }
    live->lastElapsed = live->elapsed;
    live->elapsed = 0.0f;
    return Success;
}

NodeStatus CheckDuration::Run()
{
    FrameCounter* live = Live(watch);
    const float t = live != nullptr ? live->elapsed : 0.0f;
    if (t < duration)
    {
        return Failure;
    }
    if (reset && live != nullptr)
    {
        live->lastElapsed = live->elapsed;
        live->elapsed = 0.0f;
    }
    return Success;
}

NodeStatus KillWatch::Run()
{
    if (watch.counter != nullptr)
    {
        watch.timer->KillCounter(watch.counter);
    }
    return Success;
}

} // namespace Varn::AI
