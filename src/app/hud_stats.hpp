// The figures the on-screen panel shows, kept apart from the drawing so they can be tested without a
// window: a ring of recent frame times with the frame rate over them, and each pass's recent GPU time.
#pragma once

#include "render/timing_stats.hpp"

#include <array>
#include <string>
#include <vector>

// The last frameHistoryLength frame times, oldest first from `next`.
constexpr int frameHistoryLength = 300;

struct FrameHistory {
    std::array<float, frameHistoryLength> ms{};
    int next = 0;  // where the next time goes; also the oldest entry once the ring is full
    int count = 0; // how many entries hold times
};

void addFrameTime(FrameHistory& history, float ms);
// Frames per second over the newest `frames` entries (all there are, if fewer); 0 for none.
float recentFramesPerSecond(const FrameHistory& history, int frames);
// The largest time held; 0 for none.
float slowestFrameTime(const FrameHistory& history);

struct PassTime {
    std::string name;
    double ms = 0.0; // mean GPU time over the frames in which the pass ran
};

// Each pass's mean GPU time over the newest `frames` frames of the record whose times have arrived
// (those before `latestFrame`, which the timer has not read yet); passes that did not run in any of
// them are left out. In the record's pass order.
std::vector<PassTime> recentPassTimes(const TimingRecord& record, long latestFrame, int frames);
