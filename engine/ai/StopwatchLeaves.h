#pragma once
// Leaves on the Timer's stopwatches. The Timer owns the watches; a leaf keeps the address and
// asks the Timer whether the watch is still listed before touching it, because KillWatch
// destroys it while other leaves of the tree still hold the address.
#include "ai/INode.h"

namespace Varn
{
struct FrameCounter;
class Timer;
} // namespace Varn

namespace Varn::AI
{

// A tree's stopwatch: a counter in the timer's list, with the timer that can say whether it is
// still there.
struct Watch
{
    Timer* timer = nullptr;
    FrameCounter* counter = nullptr;
};

// Restarts the watch from zero and sets the flag, if one is given.
class StartWatch final : public INode
{
public:
    explicit StartWatch(Watch watch_, bool* flag_ = nullptr) : watch(watch_), flag(flag_) {}
    NodeStatus Run() override;
    Watch watch; // the counter may be null or killed: then the leaf fails
    bool* flag;  // may be null
};

// Zeroes the watch and clears the flag, if one is given.
class StopWatch final : public INode
{
public:
    explicit StopWatch(Watch watch_, bool* flag_ = nullptr) : watch(watch_), flag(flag_) {}
    NodeStatus Run() override;
    Watch watch; // the counter may be null or killed: then the leaf fails
    bool* flag;  // may be null
};

// Succeeds once `duration` seconds have run on the watch; with `reset` it then starts over, so
// the leaf succeeds once per period. A killed watch reads 0.
class CheckDuration final : public INode
{
public:
    CheckDuration(Watch watch_, float duration_, bool reset_)
        : watch(watch_), duration(duration_), reset(reset_)
    {
    }
    NodeStatus Run() override;
    Watch watch;    // the counter may be null or killed
    float duration; // seconds
    bool reset;
};

// Removes the watch from the Timer and destroys it.
class KillWatch final : public INode
{
public:
    explicit KillWatch(Watch watch_) : watch(watch_) {}
    NodeStatus Run() override;
    Watch watch; // the counter may be null or already killed
};

} // namespace Varn::AI
