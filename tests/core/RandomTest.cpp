// The shared random range helper.
#include "core/Random.h"

#include <gtest/gtest.h>

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

} // namespace Varn::Test
