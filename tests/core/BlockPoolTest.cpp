#include "core/BlockPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

using Varn::BlockPool;

// Blocks of every size up to past the largest pooled one, made and freed in a random order, each
// filled with its own byte: a block handed out twice, or one size class lending a block too
// small for another, overwrites a neighbour's bytes.
TEST(BlockPool, BlocksAreAlignedAndKeepTheirBytesThroughRandomMakesAndFreesOnTwoThreads)
{
    struct Live
    {
        unsigned char* block;
        std::size_t size;
        unsigned char fill;
    };
    std::vector<Live> live;
    std::mt19937 random(11);
    auto intact = [](const Live& l)
    {
        for (std::size_t i = 0; i < l.size; ++i)
        {
            if (l.block[i] != l.fill)
            {
                return false;
            }
        }
        return true;
    };
    for (int round = 0; round < 20000; ++round)
    {
        if (live.empty() || random() % 5 < 3)
        {
            const std::size_t size = 1 + random() % (BlockPool::LARGEST + 64);
            auto* block = static_cast<unsigned char*>(BlockPool::Allocate(size));
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u) << size;
            const auto fill = static_cast<unsigned char>(round);
            std::memset(block, fill, size);
            live.push_back({block, size, fill});
        }
        else
        {
            const std::size_t at = random() % live.size();
            ASSERT_TRUE(intact(live[at])) << "a block of " << live[at].size << " bytes was overwritten";
            BlockPool::Free(live[at].block, live[at].size);
            live[at] = live.back();
            live.pop_back();
        }
    }

    // Another thread frees every other block and makes as many of its own; none may land on a
    // block the main thread still holds.
    std::vector<Live> theirs;
    std::thread other(
        [&]
        {
            for (std::size_t i = 0; i < live.size(); i += 2)
            {
                BlockPool::Free(live[i].block, live[i].size);
            }
            for (std::size_t i = 0; i < live.size(); i += 2)
            {
                auto* block = static_cast<unsigned char*>(BlockPool::Allocate(live[i].size));
                std::memset(block, 0xA5, live[i].size);
                theirs.push_back({block, live[i].size, 0xA5});
            }
        });
    other.join();
    for (std::size_t i = 1; i < live.size(); i += 2)
    {
        EXPECT_TRUE(intact(live[i])) << live[i].size;
        BlockPool::Free(live[i].block, live[i].size);
    }
    for (const Live& l : theirs)
    {
        EXPECT_TRUE(intact(l)) << l.size;
        BlockPool::Free(l.block, l.size);
    }
}
