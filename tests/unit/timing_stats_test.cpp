// Frame and pass times as the benchmark reports them: median and nearest-rank percentile,
// passes joining late, and the CSV.
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
