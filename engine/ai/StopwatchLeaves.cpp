#include "ai/StopwatchLeaves.h"

#include "core/Clock.h"
#include "core/Engine.h"
#include "core/Timer.h"

namespace Varn::Behaviours
{

using BehaviourTree::Failure;
using BehaviourTree::Success;

namespace
{
// The watch when it is still alive in the engine timer's list, else null.
Time::FrameCounter* Live(Time::FrameCounter* watch)
{
    return watch != nullptr && Engine::Instance().timer->HasCounter(watch) ? watch : nullptr;
}
} // namespace

NodeStatus StartWatch::Run()
{
    Time::FrameCounter* live = Live(watch);
    if (live == nullptr)
    {
        return Failure;
    }
    live->lastElapsed = live->elapsed;
    live->elapsed = 0.0f;
    live->startTicks = Time::NowTicks();
    if (flag != nullptr)
    {
        *flag = true;
    }
    return Success;
}

NodeStatus StopWatch::Run()
{
    Time::FrameCounter* live = Live(watch);
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
    Time::FrameCounter* live = Live(watch);
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
    if (watch != nullptr)
    {
        Engine::Instance().timer->KillCounter(watch);
    }
    return Success;
}

} // namespace Varn::Behaviours
