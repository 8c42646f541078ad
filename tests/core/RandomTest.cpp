// The shared random range helper.
#include "core/Random.h"

#include <gtest/gtest.h>

#include <set>

namespace Varn::Test
{

TEST(RandomRange, EqualBoundsGiveThatValueWithoutADraw)
{
    int draws = 0;
    Helper::SetRandomFractionSource(
        [&draws]
        {
            ++draws;
            return 0.5f;
        });
    EXPECT_EQ(Helper::RandomRange(3.5f, 3.5f), 3.5f);
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(Helper::RandomRange(2.0f, 6.0f), 4.0f);
    EXPECT_EQ(Helper::RandomRange(6.0f, 2.0f), 4.0f);
    EXPECT_EQ(draws, 2);
    Helper::SetRandomFractionSource([] { return 0.0f; });
    EXPECT_EQ(Helper::RandomRange(-1.0f, 1.0f), -1.0f) << "the lower bound is reachable";
    Helper::SetRandomFractionSource({});
}

TEST(RandomRange, DeviceDrawsStayInTheHalfOpenRangeAndDiffer)
{
    std::set<float> seen;
    for (int i = 0; i < 2000; ++i)
    {
        const float v = Helper::RandomRange(10.0f, 11.0f);
        ASSERT_GE(v, 10.0f);
        ASSERT_LT(v, 11.0f);
        seen.insert(v);
    }
    // Each draw seeds afresh from the device; a fixed seed would repeat one value.
    EXPECT_GT(seen.size(), 1900u);
}

} // namespace Varn::Test
