// The window's input: the key and cursor callbacks and the per-frame key polling, thin GLFW wrappers
// around the camera's pure input handling.
#pragma once

#include "camera/camera.hpp"

// glad must come before GLFW, which would otherwise pull in the system's GL header.
#include <glad/gl.h>

#include <GLFW/glfw3.h>

// The one camera of the run: the cursor callback turns it, the keys and the flight move it.
extern Camera camera;

// Key callback: a press of Escape asks the window to close; Space, F11 and F12 go to the window's own
// keys (onWindowKey); every other event is ignored.
void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);

// Cursor callback: mouse look, then the cursor goes back to the rest point.
void onCursorPos(GLFWwindow* window, double x, double y);

// Once per frame after polling: Escape, the F/H/G switches and, with the camera free, W/A/S/D.
void processInput(GLFWwindow* window);
