// Recent frame times and pass times for the panel.
#include "app/hud_stats.hpp"

#include <algorithm>

void addFrameTime(FrameHistory& history, float ms) {
    history.ms[static_cast<size_t>(history.next)] = ms;
    history.next = (history.next + 1) % frameHistoryLength;
    history.count = std::min(history.count + 1, frameHistoryLength);
}

float recentFramesPerSecond(const FrameHistory& history, int frames) {
    const int n = std::min(frames, history.count);
    double total = 0.0;
    for (int k = 1; k <= n; ++k)
        total +=
            history.ms[static_cast<size_t>((history.next - k + frameHistoryLength) % frameHistoryLength)];
    return total > 0.0 ? static_cast<float>(1000.0 * n / total) : 0.0f;
}

float slowestFrameTime(const FrameHistory& history) {
    float slowest = 0.0f;
    for (int k = 0; k < history.count; ++k)
        slowest = std::max(slowest, history.ms[static_cast<size_t>(k)]);
    return slowest;
}

std::vector<PassTime> recentPassTimes(const TimingRecord& record, long latestFrame, int frames) {
    // A frame's query results are read two frames later, so the newest complete frame is two back.
    const long last = std::min<long>(latestFrame - 2, static_cast<long>(record.frames.size()) - 1);
    const long first = std::max<long>(0, last - frames + 1);
    std::vector<PassTime> times;
    for (size_t pass = 0; pass < record.passNames.size(); ++pass) {
        double total = 0.0;
        int runs = 0;
        for (long frame = first; frame <= last; ++frame) {
            const std::vector<double>& passMs = record.frames[static_cast<size_t>(frame)].passMs;
            if (pass < passMs.size() && passMs[pass] >= 0.0) {
                total += passMs[pass];
                ++runs;
            }
        }
        if (runs > 0)
            times.push_back({record.passNames[pass], total / runs});
    }
    return times;
}
