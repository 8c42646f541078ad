#pragma once
// A small persistent pool of worker threads owned by the Engine. Systems fan a call's work out
// with Submit and join exactly those tasks by waiting on the returned futures, in order.
// Tasks must not touch engine state other than their own slice.
#include <condition_variable>
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
