// Frame timing: the wall clock's differences, and a fixed step that ignores the wall clock. (That a
// flight at 0.5 s per frame ends after 183 frames is checked on the viewer by the flight end-to-end test.)
#include "app/frame_clock.hpp"

#include <gtest/gtest.h>

TEST(FrameClock, FollowsTheWallClockFromTheStartReading) {
    FrameClock clock = startFrameClock(0.0f, 10.0);
    FrameTime t = tickFrameClock(clock, 10.25);
    EXPECT_FLOAT_EQ(t.now, 10.25f);
    EXPECT_FLOAT_EQ(t.deltaTime, 0.25f);
    t = tickFrameClock(clock, 11.0);
    EXPECT_FLOAT_EQ(t.deltaTime, 0.75f);
}

TEST(FrameClock, AFixedStepStartsAtZeroAndIgnoresTheWallClock) {
    FrameClock clock = startFrameClock(0.1f, 1234.0);
    FrameTime t{};
    for (int i = 0; i < 30; ++i) {
        t = tickFrameClock(clock, 5000.0 + i * 7.0);
        EXPECT_EQ(t.deltaTime, 0.1f);
    }
    EXPECT_NEAR(t.now, 3.0f, 1e-6f);
}
