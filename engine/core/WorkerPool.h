#pragma once
// A small persistent pool of worker threads owned by the Engine. Systems fan a call's work out
// with ParallelFor, which joins exactly the tasks of that call before it returns; a job that
// works on between frames starts the same slices with Start and joins them later. Tasks must
// not touch engine state other than their own slice.
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

    // The slice ParallelFor runs on the calling thread: the last, which takes the remainder.
    static constexpr std::size_t CALLER_SLICE = 3;

    // The worker slices of one fan-out, running until joined. Dropping it unjoined still waits
    // for them, since they write into the caller's data.
    class Fork
    {
    public:
        Fork() = default;
        Fork(Fork&&) = default;
        Fork& operator=(Fork&&) = delete;
        ~Fork() { Wait(); }
        // Waits for every slice, then rethrows the first exception one of them threw.
        void Join();
        // Waits for every slice; what they threw is dropped with them.
        void Wait();

    private:
        friend class WorkerPool;
        std::array<std::future<void>, CALLER_SLICE> tasks;
    };

    // Starts body(begin, end, slice) for slices 0 to 2 of [0, count) on the workers (empty ones
    // are not sent); the caller runs CALLER_SLICE itself, in its own time, then joins.
    Fork Start(std::size_t count, std::function<void(std::size_t, std::size_t, std::size_t)> body);

    // Calls body(begin, end, slice) for the four slices of [0, count): slices 0 to 2 on the
    // workers (empty ones are not sent), CALLER_SLICE on the calling thread, and returns once
    // all four are done. An exception from any slice is rethrown here after the join.
    void ParallelFor(std::size_t count,
                     const std::function<void(std::size_t, std::size_t, std::size_t)>& body);

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
