// Frame and pass times as the benchmark and the panel report them: median and nearest-rank percentile,
// passes joining late, the CSV, the panel's frame-time ring and its pass averages over arrived frames.
#include "app/hud_stats.hpp"
#include "render/timing_stats.hpp"

#include <gtest/gtest.h>
#include <sstream>

TEST(TimingStats, MedianAndPercentileFollowTheirDefinitions) {
    EXPECT_EQ(medianOf({}), 0.0);
    EXPECT_EQ(medianOf({5.0}), 5.0);
    EXPECT_EQ(medianOf({4.0, 1.0, 3.0}), 3.0);
    EXPECT_EQ(medianOf({4.0, 1.0, 3.0, 2.0}), 2.5);

    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i)
        hundred.push_back(i);
    EXPECT_EQ(percentileOf(hundred, 95.0), 95.0);
    EXPECT_EQ(percentileOf(hundred, 100.0), 100.0);
    // Nearest rank over 20 values: the 19th smallest.
    std::vector<double> twenty;
    for (int i = 1; i <= 20; ++i)
        twenty.push_back(i * 10.0);
    EXPECT_EQ(percentileOf(twenty, 95.0), 190.0);
    EXPECT_EQ(percentileOf({7.0}, 95.0), 7.0);
}

TEST(TimingStats, SummarySkipsFramesWhereAPassDidNotRunAndAddsTheCpuFrame) {
    TimingRecord record;
    EXPECT_EQ(passIndex(record, "shadow"), 0);
    EXPECT_EQ(passIndex(record, "geometry"), 1);
    EXPECT_EQ(passIndex(record, "shadow"), 0);
    record.frames.push_back(FrameTimes{40.0, {10.0, 2.0}});
    record.frames.push_back(FrameTimes{60.0, {30.0}});
    // A pass that joins later, in the third frame only.
    EXPECT_EQ(passIndex(record, "particles"), 2);
    record.frames.push_back(FrameTimes{100.0, {20.0, 4.0, 1.5}});

    const std::vector<PassSummary> rows = summarize(record);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].name, "shadow");
    EXPECT_EQ(rows[0].medianMs, 20.0);
    EXPECT_EQ(rows[0].p95Ms, 30.0);
    EXPECT_EQ(rows[0].samples, 3);
    EXPECT_EQ(rows[1].name, "geometry");
    EXPECT_EQ(rows[1].medianMs, 3.0);
    EXPECT_EQ(rows[1].samples, 2);
    EXPECT_EQ(rows[2].name, "particles");
    EXPECT_EQ(rows[2].samples, 1);
    EXPECT_EQ(rows[3].name, "frame (CPU)");
    EXPECT_EQ(rows[3].medianMs, 60.0);
    // Three frames in 200 ms.
    EXPECT_DOUBLE_EQ(framesPerSecond(record), 15.0);
}

TEST(TimingStats, CsvHasOneRowPerFrameWithEmptyCellsForPassesThatDidNotRun) {
    TimingRecord record;
    passIndex(record, "shadow");
    passIndex(record, "lit");
    record.frames.push_back(FrameTimes{16.5, {1.25}});
    record.frames.push_back(FrameTimes{-1.0, {2.0, 3.0}, 0});
    record.frames.push_back(FrameTimes{4.0, {}, 1200});
    std::ostringstream csv;
    writeCsv(csv, record);
    EXPECT_EQ(csv.str(), "frame,shadow,lit,cpu_frame_ms,live_particles\n"
                         "0,1.2500,,16.5000,\n"
                         "1,2.0000,3.0000,,0\n"
                         "2,,,4.0000,1200\n");

    std::ostringstream table;
    printSummary(table, record);
    EXPECT_NE(table.str().find("shadow"), std::string::npos);
    EXPECT_NE(table.str().find("frames per second: 97.56"), std::string::npos) << table.str();
    EXPECT_NE(table.str().find("live particles: peak 1200"), std::string::npos) << table.str();
    EXPECT_EQ(peakLiveParticles(TimingRecord{}), -1);
}

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
