// The engine's one random source.
#include "core/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace Varn::Test
{

TEST(Random, EqualBoundsGiveThatValueWithoutADrawTheSourceCanBeReplacedAndASeedRepeatsItsDraws)
{
    Random random(7);
    int draws = 0;
    random.SetFractionSource(
        [&draws]
        {
            ++draws;
            return 0.5f;
        });
    EXPECT_EQ(random.Range(3.5f, 3.5f), 3.5f);
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(random.Range(2.0f, 6.0f), 4.0f);
    EXPECT_EQ(random.Range(6.0f, 2.0f), 4.0f);
    EXPECT_EQ(draws, 2);
    random.SetFractionSource([] { return 0.0f; });
    EXPECT_EQ(random.Range(-1.0f, 1.0f), -1.0f) << "the lower bound is reachable";

    // The same seed draws the same numbers, and reseeding starts over.
    auto draw = [](Random& random)
    {
        std::vector<float> values;
        for (int i = 0; i < 50; ++i)
        {
            values.push_back(random.Range(0.0f, 1.0f));
        }
        return values;
    };
    Random first(1234), second(1234), other(1235);
    const std::vector<float> a = draw(first);
    EXPECT_EQ(a, draw(second));
    EXPECT_NE(a, draw(other));
    for (float u : a)
    {
        EXPECT_TRUE(u >= 0.0f && u < 1.0f) << u;
    }
    first.Seed(1234);
    EXPECT_EQ(first.Seed(), 1234u);
    EXPECT_EQ(draw(first), a);
}

} // namespace Varn::Test
