#include "core/WorkerPool.h"

namespace Varn
{

WorkerPool::WorkerPool(unsigned threadCount)
{
    threads.reserve(threadCount);
    for (unsigned i = 0; i < threadCount; ++i)
    {
        threads.emplace_back([this] { WorkLoop(); });
    }
}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& thread : threads)
    {
        thread.join();
    }
}

std::future<void> WorkerPool::Submit(std::function<void()> task)
{
    std::packaged_task<void()> packaged(std::move(task));
    std::future<void> done = packaged.get_future();
    if (threads.empty())
    {
        packaged(); // a pool without threads runs work inline
        return done;
    }
    {
        std::lock_guard lock(mutex);
        queue.push_back(std::move(packaged));
    }
    wake.notify_one();
    return done;
}

void WorkerPool::WorkLoop()
{
    for (;;)
    {
        std::packaged_task<void()> task;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty())
            {
                return; // stopping and nothing left
            }
            task = std::move(queue.front());
            queue.pop_front();
        }
        task();
    }
}

} // namespace Varn
