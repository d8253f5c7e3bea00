// The panel's figures: the frame-time ring keeps the newest times and the frame rate follows them;
// pass times average only the frames whose GPU results have arrived and in which the pass ran.
#include "app/hud_stats.hpp"

#include <gtest/gtest.h>

TEST(FrameHistory, KeepsTheNewestTimesAndRatesThem) {
    FrameHistory history;
    EXPECT_EQ(recentFramesPerSecond(history, 60), 0.0f);
    addFrameTime(history, 100.0f);
    addFrameTime(history, 50.0f);
    // Two frames in 150 ms; the newest one alone took 50 ms.
    EXPECT_NEAR(recentFramesPerSecond(history, 60), 2000.0f / 150.0f, 1e-3f);
    EXPECT_NEAR(recentFramesPerSecond(history, 1), 20.0f, 1e-4f);
    EXPECT_EQ(slowestFrameTime(history), 100.0f);

    // A full ring of 10 ms frames pushes the slow start out.
    for (int i = 0; i < frameHistoryLength; ++i)
        addFrameTime(history, 10.0f);
    EXPECT_EQ(history.count, frameHistoryLength);
    EXPECT_EQ(slowestFrameTime(history), 10.0f);
    EXPECT_NEAR(recentFramesPerSecond(history, frameHistoryLength * 2), 100.0f, 1e-3f);
}

TEST(RecentPassTimes, AveragesArrivedFramesAndSkipsPassesThatDidNotRun) {
    TimingRecord record;
    record.passNames = {"shadow", "ssao", "final"};
    // Frame 3 and 4 are still in flight (the timer is at frame 4): only frames 0 ... 2 count.
    record.frames.resize(5);
    record.frames[0].passMs = {4.0, -1.0, 1.0};
    record.frames[1].passMs = {6.0, -1.0, 1.0};
    record.frames[2].passMs = {8.0, -1.0}; // the final pass has not been read for this frame
    record.frames[3].passMs = {1000.0, 1000.0, 1000.0};
    record.frames[4].passMs = {1000.0, 1000.0, 1000.0};

    const std::vector<PassTime> all = recentPassTimes(record, 4, 30);
    ASSERT_EQ(all.size(), 2u); // ssao never ran in the frames that count
    EXPECT_EQ(all[0].name, "shadow");
    EXPECT_DOUBLE_EQ(all[0].ms, 6.0);
    EXPECT_EQ(all[1].name, "final");
    EXPECT_DOUBLE_EQ(all[1].ms, 1.0);

    const std::vector<PassTime> newest = recentPassTimes(record, 4, 2);
    ASSERT_EQ(newest.size(), 2u);
    EXPECT_DOUBLE_EQ(newest[0].ms, 7.0);
    EXPECT_TRUE(recentPassTimes(record, 1, 30).empty()); // nothing has arrived yet
}
