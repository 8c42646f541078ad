#include "core/WorkerPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace Varn::Test
{

TEST(WorkerPool, SlicesAndForksVisitEveryIndexOnceKeepTheLastSliceHereAndJoinBeforeAFailure)
{
    using Cuts = std::array<std::size_t, 5>;
    EXPECT_EQ(WorkerPool::Slices(0), (Cuts{0, 0, 0, 0, 0}));
    EXPECT_EQ(WorkerPool::Slices(5), (Cuts{0, 1, 2, 3, 5})); // 1, 1, 1 and 2 entities: the remainder last
    EXPECT_EQ(WorkerPool::Slices(3), (Cuts{0, 0, 1, 2, 3}));
    EXPECT_EQ(WorkerPool::Slices(8), (Cuts{0, 2, 4, 6, 8}));

    WorkerPool pool(3);
    std::vector<std::atomic<int>> visits(103);
    std::vector<std::thread::id> sliceThread(4);
    pool.ParallelFor(visits.size(),
                     [&](std::size_t begin, std::size_t end, std::size_t slice)
                     {
                         sliceThread[slice] = std::this_thread::get_id();
                         for (std::size_t i = begin; i < end; ++i)
                         {
                             ++visits[i];
                         }
                     });
    for (std::size_t i = 0; i < visits.size(); ++i)
    {
        EXPECT_EQ(visits[i], 1) << i;
    }
    EXPECT_EQ(sliceThread[WorkerPool::CALLER_SLICE], std::this_thread::get_id());
    EXPECT_NE(sliceThread[0], std::this_thread::get_id());

    // The caller's slice fails at once; the workers' slices still finish before it is rethrown.
    std::atomic<int> finished = 0;
    auto failing = [&](std::size_t, std::size_t, std::size_t slice)
    {
        if (slice == WorkerPool::CALLER_SLICE)
        {
            throw std::runtime_error("bad slice");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ++finished;
    };
    EXPECT_THROW(pool.ParallelFor(8, failing), std::runtime_error);
    EXPECT_EQ(finished, 3);

    // A started fork runs while the caller goes on, and joins or waits later.
    std::atomic<bool> release = false;
    std::atomic<int> done = 0;
    auto slowSlices = [&](std::size_t, std::size_t, std::size_t slice)
    {
        while (!release)
        {
            std::this_thread::yield();
        }
        ++done;
        if (slice == 1)
        {
            throw std::runtime_error("bad slice");
        }
    };
    {
        WorkerPool::Fork fork = pool.Start(8, slowSlices);
        // Start returned with the slices still held: the caller was free to go on.
        EXPECT_EQ(done, 0);
        release = true;
        EXPECT_THROW(fork.Join(), std::runtime_error);
        EXPECT_EQ(done, 3) << "every slice finished before the failure came back";
    }
    release = false;
    done = 0;
    {
        WorkerPool::Fork dropped = pool.Start(8, slowSlices);
        release = true;
    } // dropped unjoined: waits, and the failure goes with it
    EXPECT_EQ(done, 3);
}

} // namespace Varn::Test
