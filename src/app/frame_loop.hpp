// The loop that runs once per displayed frame: input, time, the flight, light flicker, the camera
// matrices, then the passes in their fixed order, and the swap.
#pragma once

#include "app/frame_clock.hpp"
#include "app/options.hpp"
#include "app/scene.hpp"
#include "app/settings.hpp"
#include "app/sound_engine.hpp"

// glad must come before GLFW, which would otherwise pull in the system's GL header.
#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <glm/glm.hpp>

// The run ends by itself once the automatic flight has lasted this long.
constexpr float flightEndSeconds = 91.5f;

// What one frame hands to its passes.
struct FrameValues {
    float now = 0.0f;
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    glm::mat4 viewProj{1.0f};
};

// Runs frames until the window is asked to close, the flight reaches its end or the frame limit of
// the options is reached; writes the requested screenshots on the way.
void runFrameLoop(GLFWwindow* window, Scene& scene, const Settings& settings, const Options& options,
                  FrameClock& clock, SoundEngine* soundEngine);
