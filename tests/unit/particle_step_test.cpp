// Spawn timing, dispatch sizing and the live-count bound of a particle step, without a GL context.
#include "particles/particle_step.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

TEST(SpawnTiming, TenPerSecondAtSixtyFramesSpawnsAboutEverySixthFrame) {
    double accumulator = 0.0;
    std::vector<int> spawnFrames;
    for (int frame = 0; frame < 600; ++frame) {
        const uint32_t count = takeSpawnEvents(accumulator, 1.0 / 60.0, 10.0);
        ASSERT_LE(count, 1u) << "frame " << frame;
        if (count == 1)
            spawnFrames.push_back(frame);
        ASSERT_GE(accumulator, 0.0);
        ASSERT_LT(accumulator, 1.0);
    }
    // Ten seconds give ten events a second; rounding may move the very last one past the end.
    EXPECT_GE(spawnFrames.size(), 99u);
    EXPECT_LE(spawnFrames.size(), 100u);
    for (size_t k = 1; k < spawnFrames.size(); ++k) {
        const int gap = spawnFrames[k] - spawnFrames[k - 1];
        EXPECT_TRUE(gap == 5 || gap == 6 || gap == 7) << "gap " << gap << " before frame " << spawnFrames[k];
    }
}

// A long frame takes every whole event and keeps the fraction, which completes an event on a later
// short frame; a huge frame saturates instead of wrapping.
TEST(SpawnTiming, LongFramesTakeEveryWholeEventKeepTheFractionAndSaturate) {
    double accumulator = 0.25;
    EXPECT_EQ(takeSpawnEvents(accumulator, 0.5, 10.0), 5u);
    EXPECT_DOUBLE_EQ(accumulator, 0.25);
    accumulator = 0.9;
    EXPECT_EQ(takeSpawnEvents(accumulator, 0.0, 10.0), 0u);
    EXPECT_EQ(takeSpawnEvents(accumulator, 0.02, 10.0), 1u);
    EXPECT_NEAR(accumulator, 0.1, 1e-12);
    EXPECT_EQ(takeSpawnEvents(accumulator, 1e12, 30.0),
              static_cast<uint32_t>(std::numeric_limits<int32_t>::max()));
    EXPECT_LT(accumulator, 1.0);
}

TEST(WorkGroups, CoverTheLiveParticlesAndTheBatchOfASingleSpawnEvent) {
    EXPECT_EQ(particleWorkGroups(0, 12, 0), 1u);
    EXPECT_EQ(particleWorkGroups(255, 12, 0), 1u);
    EXPECT_EQ(particleWorkGroups(256, 12, 0), 2u);
    // Two or more events are sized by the live count alone.
    EXPECT_EQ(particleWorkGroups(250, 12, 2), 1u);
    EXPECT_EQ(particleWorkGroups(256, 12, 5), 2u);
    // A single event adds one batch to the coverage.
    EXPECT_EQ(particleWorkGroups(250, 12, 1), 2u);
    EXPECT_EQ(particleWorkGroups(243, 12, 1), 1u);
    EXPECT_EQ(particleWorkGroups(0, 12, 1), 1u);
    EXPECT_EQ(particleWorkGroups(49990, 20, 1), 196u);
}

TEST(LiveCount, CounterValuesAreBoundedByTheCapacity) {
    EXPECT_EQ(clampLiveCount(0, 100), 0);
    EXPECT_EQ(clampLiveCount(100, 100), 100);
    EXPECT_EQ(clampLiveCount(101, 100), 100);
    EXPECT_EQ(clampLiveCount(0xFFFFFFFFu, 50000), 50000);
    EXPECT_EQ(clampLiveCount(7, -3), 0);
}
