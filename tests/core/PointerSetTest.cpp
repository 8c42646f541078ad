#include "core/PointerSet.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_set>
#include <vector>

using Varn::PointerSet;

// Random inserts and erases over a small pool of addresses, so runs collide and wrap around the
// table, checked against the standard set after every operation: an erase that breaks a probe
// run would lose a member that is still there.
TEST(PointerSet, AgreesWithAStandardSetThroughInsertsErasesGrowthAndClear)
{
    std::vector<int> storage(300);
    std::unordered_set<const void*> expected;
    PointerSet set;
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round)
    {
        const void* p = &storage[random() % storage.size()];
        if (random() % 3 == 0)
        {
            ASSERT_EQ(set.erase(p), expected.erase(p)) << round;
        }
        else
        {
            ASSERT_EQ(set.insert(p), expected.insert(p).second) << round;
        }
        ASSERT_EQ(set.size(), expected.size());
        if (round % 97 == 0)
        {
            for (const int& slot : storage)
            {
                ASSERT_EQ(set.contains(&slot), expected.contains(&slot)) << round;
            }
        }
        if (round == 10000)
        {
            set.clear();
            expected.clear();
        }
    }
    EXPECT_FALSE(set.insert(nullptr));
    EXPECT_FALSE(set.contains(nullptr));
    EXPECT_EQ(set.erase(nullptr), 0u);
}
