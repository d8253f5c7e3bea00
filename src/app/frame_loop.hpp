// The loop that runs once per displayed frame: input, time, the flight, light flicker, the camera
// matrices, then the passes in their fixed order, and the swap.
#pragma once

#include "app/frame_clock.hpp"
#include "app/frame_resources.hpp"
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

// Runs frames until the window is asked to close, the flight reaches its end (with --loop it starts
// again instead) or the frame limit of the options is reached; writes the requested screenshots on the
// way. The window's own keys (Space, F11, F12), resizes and a minimised window are served in between.
// With --benchmark it times every pass and prints the table at the end; with --record it writes every
// frame and returns false when the recording could not be written completely.
bool runFrameLoop(GLFWwindow* window, Scene& scene, FrameResources& resources, const Settings& settings,
                  const Options& options, FrameClock& clock, SoundEngine* soundEngine);
