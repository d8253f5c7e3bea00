// Per-frame timings of the benchmark run (GPU time of each named pass, CPU time of the frame) and
// the statistics printed at its end: median and 95th percentile per pass, frames per second, CSV.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct FrameTimes {
    double cpuFrameMs = -1.0;   // negative: not measured
    std::vector<double> passMs; // by pass index; negative: the pass did not run in this frame
    int liveParticles = -1;     // all emitters together after the frame's step; negative: not counted
};

struct TimingRecord {
    std::vector<std::string> passNames; // in the order the passes were first seen
    std::vector<FrameTimes> frames;
};

struct PassSummary {
    std::string name;
    double medianMs = 0.0;
    double p95Ms = 0.0;
    int samples = 0;
};

// The index of a pass name, adding it on first sight (passes that start later join the table).
int passIndex(TimingRecord& record, const std::string& name);

// Median of the values (the mean of the middle two for an even count); 0 for none.
double medianOf(std::vector<double> values);
// Nearest-rank percentile (p in (0, 100]): the smallest value with at least p % of them at or below.
double percentileOf(std::vector<double> values, double p);

// One row per pass that has at least one measurement, in pass order, then "frame (CPU)".
std::vector<PassSummary> summarize(const TimingRecord& record);
// Frames per second over the measured CPU frame times (frames / their total time); 0 for none.
double framesPerSecond(const TimingRecord& record);

// The most live particles of any counted frame; -1 when no frame was counted.
int peakLiveParticles(const TimingRecord& record);

// The end-of-run table: one line per row of summarize, then the frame rate and, when particles were
// counted, their peak.
void printSummary(std::ostream& out, const TimingRecord& record);
// Header "frame,<pass>...,cpu_frame_ms,live_particles" and one row per frame (times in ms); a pass that
// did not run, or a frame whose particles were not counted, leaves its cell empty.
void writeCsv(std::ostream& out, const TimingRecord& record);
