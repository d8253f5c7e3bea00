// Frame timing in single precision, as every consumer of the times expects.
#include "app/frame_clock.hpp"

FrameClock startFrameClock(float fixedStep, double wallTime) {
    FrameClock clock;
    clock.fixedStep = fixedStep;
    clock.previousTime = fixedStep > 0.0f ? 0.0f : static_cast<float>(wallTime);
    return clock;
}

FrameTime tickFrameClock(FrameClock& clock, double wallTime) {
    FrameTime time;
    ++clock.ticks;
    if (clock.fixedStep > 0.0f) {
        // The step itself is the delta, not a difference of two rounded times, so the flight clock
        // sums exactly N steps after N frames.
        time.now = static_cast<float>(static_cast<double>(clock.ticks) * clock.fixedStep);
        time.deltaTime = clock.fixedStep;
    } else {
        time.now = static_cast<float>(wallTime);
        time.deltaTime = time.now - clock.previousTime;
    }
    clock.previousTime = time.now;
    return time;
}
