// The frame loop's clock: the wall clock as GLFW reports it, or, for repeatable runs, a clock that
// advances by exactly one fixed step per frame whatever the wall clock does.
#pragma once

struct FrameClock {
    float fixedStep = 0.0f;    // seconds per frame; 0 follows the wall clock
    float previousTime = 0.0f; // the previous frame's now
    long long ticks = 0;
};

struct FrameTime {
    float now = 0.0f;       // this frame's time; also the animation time of its skinned draws
    float deltaTime = 0.0f; // seconds since the previous frame
};

// Read once at start-up, just before the render targets are made. A fixed-step clock starts at 0 so
// that every run sees the same times.
FrameClock startFrameClock(float fixedStep, double wallTime);

FrameTime tickFrameClock(FrameClock& clock, double wallTime);
