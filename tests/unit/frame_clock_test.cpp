// Frame timing follows the wall clock's differences. (The fixed step is checked on the viewer by the
// flight end-to-end test: at 0.5 s per frame the flight ends after frame 183.)
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
