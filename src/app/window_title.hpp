// The title bar: "Duskvale" followed by the frames per second, measured on the wall clock and
// renewed about twice a second, so that it can be read without flickering.
#pragma once

#include <string>

constexpr double titleUpdateSeconds = 0.5;

struct FpsTitle {
    double intervalStart = -1.0; // wall time the current count began; negative before the first frame
    int frames = 0;
};

// "Duskvale - 59.9 fps".
std::string fpsTitleText(double framesPerSecond);

// Counts one shown frame at wall time now. Once titleUpdateSeconds have passed since the count began,
// returns the new title and starts counting again; otherwise returns an empty string.
std::string countFrameForTitle(FpsTitle& title, double now);
