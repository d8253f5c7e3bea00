// The C library draws behind the occlusion kernel and noise stay in [0, 1] on this C library.
#include "render/unit_random.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(UnitRandom, StaysWithinZeroAndOneOnThisCLibrary) {
    std::srand(7);
    float low = 1.0f, high = 0.0f;
    for (int i = 0; i < 100000; ++i) {
        const float r = drawUnitRandom();
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_GE(low, 0.0f);
    EXPECT_LE(high, 1.0f);
    // Spread over the whole range, not squeezed into a corner of it.
    EXPECT_LT(low, 0.01f);
    EXPECT_GT(high, 0.99f);
}
