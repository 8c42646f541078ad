#include "core/WorkerPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace Varn::Test
{

TEST(WorkerPool, RunsTasksOffTheCallingThreadAndReportsTheirFailures)
{
    WorkerPool pool(3);
    std::thread::id ranOn;
    pool.Submit([&] { ranOn = std::this_thread::get_id(); }).get();
    EXPECT_NE(ranOn, std::this_thread::get_id());
    std::future<void> failing = pool.Submit([] { throw std::runtime_error("bad slice"); });
    EXPECT_THROW(failing.get(), std::runtime_error);
    // The pool survives a failed task.
    std::atomic<int> count = 0;
    pool.Submit([&] { ++count; }).get();
    EXPECT_EQ(count, 1);
}

TEST(WorkerPool, SlicesCoverEveryIndexOnceWithTheRemainderLast)
{
    using Cuts = std::array<std::size_t, 5>;
    EXPECT_EQ(WorkerPool::Slices(0), (Cuts{0, 0, 0, 0, 0}));
    EXPECT_EQ(WorkerPool::Slices(5), (Cuts{0, 1, 2, 3, 5})); // 1, 1, 1 and 2 entities
    EXPECT_EQ(WorkerPool::Slices(3), (Cuts{0, 0, 1, 2, 3}));
    EXPECT_EQ(WorkerPool::Slices(8), (Cuts{0, 2, 4, 6, 8}));
}

} // namespace Varn::Test
