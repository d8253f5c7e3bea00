// Point-light outages, evaluated once per frame before the passes read the colours.
#include "app/light_flicker.hpp"

namespace {

constexpr float outageChancePerFrame = 0.005f;
constexpr float longestOutage = 0.5f; // seconds
const glm::vec3 lampColor(1.0f, 0.8f, 0.8f);

} // namespace

void updateFlicker(LightFlicker& flicker, float deltaTime, float (*drawUnit)()) {
    for (int k = 0; k < flickeringLightCount; ++k) {
        // One draw per light and frame, outage or not, plus one for the length of an outage that
        // starts: the unseeded generator then gives every run the same outages frame by frame.
        const float r = drawUnit();
        flicker.flickerTimers[k] -= deltaTime;
        if (r < outageChancePerFrame)
            flicker.flickerTimers[k] = drawUnit() * longestOutage;
        flicker.pointColors[k] = flicker.flickerTimers[k] > 0.0f ? glm::vec3(0.0f) : lampColor;
    }
}
