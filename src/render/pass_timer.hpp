// GPU time of each named pass through GL timer queries, and the CPU time of each frame, for the
// benchmark option. Queries are double-buffered: a frame's results are collected two frames later,
// when the GPU has long finished them, so reading them never stalls the frame being built.
#pragma once

#include "render/timing_stats.hpp"

#include <glad/gl.h>

#include <chrono>
#include <string>
#include <vector>

struct PassTimerSlot {
    long frame = -1;              // the frame whose queries this slot holds; -1: none
    std::vector<GLuint> queries;  // one per pass index, created on demand
    std::vector<int> passesBegun; // pass indices timed in that frame, in order
};

struct PassTimer {
    PassTimerSlot slots[2];
    long frame = -1;
    int openPass = -1;
    std::chrono::steady_clock::time_point frameStart;
    TimingRecord record;
};

// Starts a frame: closes the previous frame's CPU time and collects the GPU times of the frame
// before it, whose slot this frame reuses.
void beginTimedFrame(PassTimer& timer);
// Times GPU work from here to endTimedPass under `name`; passes must not overlap or repeat in a frame.
void beginTimedPass(PassTimer& timer, const std::string& name);
void endTimedPass(PassTimer& timer);
// Notes how many particles live in all emitters together in the frame being timed.
void noteLiveParticles(PassTimer& timer, int count);
// After the last frame: closes its CPU time and waits for the GPU times still in flight.
void finishTiming(PassTimer& timer);
