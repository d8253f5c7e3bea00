// The random outages of the three point lights: each light goes dark now and then for up to half a
// second. Pure state over a draw function, so the odds and the timing can be tested.
#pragma once

#include <glm/glm.hpp>

#include <array>

constexpr int flickeringLightCount = 3;

struct LightFlicker {
    // Seconds of outage left per light; they may run far below zero, only the sign matters.
    std::array<float, flickeringLightCount> flickerTimers{0.0f, 0.0f, 0.0f};
    std::array<glm::vec3, flickeringLightCount> pointColors{
        glm::vec3(1.0f, 0.8f, 0.8f), glm::vec3(1.0f, 0.8f, 0.8f), glm::vec3(1.0f, 0.8f, 0.8f)};
};

// One frame of flicker: per light one draw (a second one when an outage starts), timers count down by
// deltaTime, and a light with time left is black. drawUnit gives values in [0, 1].
void updateFlicker(LightFlicker& flicker, float deltaTime, float (*drawUnit)());
