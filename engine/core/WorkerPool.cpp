#include "core/WorkerPool.h"

#include <exception>
#include <memory>

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

void WorkerPool::Fork::Wait()
{
    for (std::future<void>& task : tasks)
    {
        if (task.valid())
        {
            task.wait();
        }
    }
}

void WorkerPool::Fork::Join()
{
    std::exception_ptr failure;
    for (std::future<void>& task : tasks)
    {
        if (!task.valid())
        {
            continue;
        }
        try
        {
            task.get();
        }
        catch (...)
        {
            failure = failure ? failure : std::current_exception();
        }
    }
    if (failure)
    {
        std::rethrow_exception(failure);
    }
}

WorkerPool::Fork WorkerPool::Start(std::size_t count,
                                   std::function<void(std::size_t, std::size_t, std::size_t)> body)
{
    // Shared by the slices, so it lives until the last of them is done.
    auto shared =
        std::make_shared<const std::function<void(std::size_t, std::size_t, std::size_t)>>(std::move(body));
    const auto cut = Slices(count);
    Fork fork;
    for (std::size_t i = 0; i < CALLER_SLICE; ++i)
    {
        if (cut[i] < cut[i + 1])
        {
            fork.tasks[i] =
                Submit([shared, begin = cut[i], end = cut[i + 1], i] { (*shared)(begin, end, i); });
        }
    }
    return fork;
}

void WorkerPool::ParallelFor(std::size_t count,
                             const std::function<void(std::size_t, std::size_t, std::size_t)>& body)
{
    Fork fork = Start(count, body);
    const auto cut = Slices(count);
    try
    {
        body(cut[CALLER_SLICE], cut[CALLER_SLICE + 1], CALLER_SLICE);
    }
    catch (...)
    {
        fork.Wait(); // the workers finish before this slice's failure leaves; theirs go with them
        throw;
    }
    fork.Join();
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
