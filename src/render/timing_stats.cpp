// Statistics over the benchmark's per-frame timings.
#include "render/timing_stats.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

int passIndex(TimingRecord& record, const std::string& name) {
    const auto found = std::find(record.passNames.begin(), record.passNames.end(), name);
    if (found != record.passNames.end())
        return static_cast<int>(found - record.passNames.begin());
    record.passNames.push_back(name);
    return static_cast<int>(record.passNames.size()) - 1;
}

double medianOf(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    if (values.size() % 2 == 1)
        return values[middle];
    return (values[middle - 1] + values[middle]) / 2.0;
}

double percentileOf(std::vector<double> values, double p) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(p / 100.0 * static_cast<double>(values.size()));
    const size_t index = static_cast<size_t>(std::clamp(rank, 1.0, static_cast<double>(values.size()))) - 1;
    return values[index];
}

namespace {

PassSummary summaryOf(const std::string& name, const std::vector<double>& values) {
    return PassSummary{name, medianOf(values), percentileOf(values, 95.0), static_cast<int>(values.size())};
}

std::vector<double> cpuFrameTimes(const TimingRecord& record) {
    std::vector<double> values;
    for (const FrameTimes& frame : record.frames)
        if (frame.cpuFrameMs >= 0.0)
            values.push_back(frame.cpuFrameMs);
    return values;
}

} // namespace

std::vector<PassSummary> summarize(const TimingRecord& record) {
    std::vector<PassSummary> rows;
    for (size_t pass = 0; pass < record.passNames.size(); ++pass) {
        std::vector<double> values;
        for (const FrameTimes& frame : record.frames)
            if (pass < frame.passMs.size() && frame.passMs[pass] >= 0.0)
                values.push_back(frame.passMs[pass]);
        if (!values.empty())
            rows.push_back(summaryOf(record.passNames[pass], values));
    }
    const std::vector<double> frames = cpuFrameTimes(record);
    if (!frames.empty())
        rows.push_back(summaryOf("frame (CPU)", frames));
    return rows;
}

double framesPerSecond(const TimingRecord& record) {
    const std::vector<double> frames = cpuFrameTimes(record);
    double totalMs = 0.0;
    for (double ms : frames)
        totalMs += ms;
    return totalMs > 0.0 ? static_cast<double>(frames.size()) * 1000.0 / totalMs : 0.0;
}

int peakLiveParticles(const TimingRecord& record) {
    int peak = -1;
    for (const FrameTimes& frame : record.frames)
        peak = std::max(peak, frame.liveParticles);
    return peak;
}

void printSummary(std::ostream& out, const TimingRecord& record) {
    char line[160];
    std::snprintf(line, sizeof line, "%-24s %12s %12s %8s\n", "pass", "median ms", "p95 ms", "frames");
    out << line;
    for (const PassSummary& row : summarize(record)) {
        std::snprintf(line, sizeof line, "%-24s %12.3f %12.3f %8d\n", row.name.c_str(), row.medianMs,
                      row.p95Ms, row.samples);
        out << line;
    }
    std::snprintf(line, sizeof line, "frames per second: %.2f\n", framesPerSecond(record));
    out << line;
    const int peak = peakLiveParticles(record);
    if (peak >= 0)
        out << "live particles: peak " << peak << '\n';
}

void writeCsv(std::ostream& out, const TimingRecord& record) {
    out << "frame";
    for (const std::string& name : record.passNames)
        out << ',' << name;
    out << ",cpu_frame_ms,live_particles\n";
    char cell[32];
    for (size_t index = 0; index < record.frames.size(); ++index) {
        const FrameTimes& frame = record.frames[index];
        out << index;
        for (size_t pass = 0; pass < record.passNames.size(); ++pass) {
            out << ',';
            if (pass < frame.passMs.size() && frame.passMs[pass] >= 0.0) {
                std::snprintf(cell, sizeof cell, "%.4f", frame.passMs[pass]);
                out << cell;
            }
        }
        out << ',';
        if (frame.cpuFrameMs >= 0.0) {
            std::snprintf(cell, sizeof cell, "%.4f", frame.cpuFrameMs);
            out << cell;
        }
        out << ',';
        if (frame.liveParticles >= 0)
            out << frame.liveParticles;
        out << '\n';
    }
}
