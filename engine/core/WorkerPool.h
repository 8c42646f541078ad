#pragma once
// A small persistent pool of worker threads owned by the Engine. Systems fan a call's work out
// with Submit and join exactly those tasks by waiting on the returned futures, in order.
// Tasks must not touch engine state other than their own slice.
#include <array>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace Varn
{

class WorkerPool
{
public:
    explicit WorkerPool(unsigned threadCount = 3);
    ~WorkerPool(); // finishes queued tasks, then joins
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The four index ranges of the parallel passes: [b[0], b[1]), [b[1], b[2]), [b[2], b[3]),
    // [b[3], b[4]). The first three go to workers; the fourth, which takes the remainder, stays
    // on the calling thread.
    static constexpr std::array<std::size_t, 5> Slices(std::size_t n)
    {
        return {0, n / 4, n / 2, (3 * n) / 4, n};
    }

    // Queues a task; an exception it throws is rethrown by the future's get().
    std::future<void> Submit(std::function<void()> task);
    unsigned ThreadCount() const { return static_cast<unsigned>(threads.size()); }

private:
    void WorkLoop();

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::packaged_task<void()>> queue;
    bool stopping = false;
    std::vector<std::thread> threads;
};

} // namespace Varn
