// Double-buffered GL timer queries per pass and CPU frame times.
#include "render/pass_timer.hpp"

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

FrameTimes& frameTimes(PassTimer& timer, long frame) {
    if (timer.record.frames.size() <= static_cast<size_t>(frame))
        timer.record.frames.resize(static_cast<size_t>(frame) + 1);
    return timer.record.frames[static_cast<size_t>(frame)];
}

// Reads every query of the slot's frame into the record (waiting if the GPU is not done) and frees
// the slot for reuse.
void collectSlot(PassTimer& timer, PassTimerSlot& slot) {
    if (slot.frame < 0)
        return;
    FrameTimes& times = frameTimes(timer, slot.frame);
    times.passMs.resize(timer.record.passNames.size(), -1.0);
    for (int pass : slot.passesBegun) {
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(slot.queries[static_cast<size_t>(pass)], GL_QUERY_RESULT, &nanoseconds);
        times.passMs[static_cast<size_t>(pass)] = static_cast<double>(nanoseconds) / 1.0e6;
    }
    slot.passesBegun.clear();
    slot.frame = -1;
}

} // namespace

void beginTimedFrame(PassTimer& timer) {
    if (timer.frame >= 0)
        frameTimes(timer, timer.frame).cpuFrameMs = millisecondsSince(timer.frameStart);
    timer.frameStart = std::chrono::steady_clock::now();
    ++timer.frame;
    PassTimerSlot& slot = timer.slots[timer.frame % 2];
    collectSlot(timer, slot);
    slot.frame = timer.frame;
    frameTimes(timer, timer.frame);
}

void beginTimedPass(PassTimer& timer, const std::string& name) {
    if (timer.frame < 0 || timer.openPass >= 0)
        return;
    PassTimerSlot& slot = timer.slots[timer.frame % 2];
    const int pass = passIndex(timer.record, name);
    while (slot.queries.size() <= static_cast<size_t>(pass)) {
        GLuint query = 0;
        glGenQueries(1, &query);
        slot.queries.push_back(query);
    }
    glBeginQuery(GL_TIME_ELAPSED, slot.queries[static_cast<size_t>(pass)]);
    slot.passesBegun.push_back(pass);
    timer.openPass = pass;
}

void endTimedPass(PassTimer& timer) {
    if (timer.openPass < 0)
        return;
    glEndQuery(GL_TIME_ELAPSED);
    timer.openPass = -1;
}

void noteLiveParticles(PassTimer& timer, int count) {
    if (timer.frame >= 0)
        frameTimes(timer, timer.frame).liveParticles = count;
}

void finishTiming(PassTimer& timer) {
    endTimedPass(timer);
    if (timer.frame < 0)
        return;
    frameTimes(timer, timer.frame).cpuFrameMs = millisecondsSince(timer.frameStart);
    collectSlot(timer, timer.slots[(timer.frame + 1) % 2]);
    collectSlot(timer, timer.slots[timer.frame % 2]);
}
