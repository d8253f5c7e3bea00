// Opens the viewer's one window with its OpenGL context and sets the state that holds for the whole
// run: callbacks, GL entry points, vertical sync, hidden cursor, debug output, depth test and culling.
#pragma once

#include "app/settings.hpp"

// glad must come before GLFW, which would otherwise pull in the system's GL header.
#include <glad/gl.h>

#include <GLFW/glfw3.h>

#include <string>

constexpr int requiredGlMajor = 4;
constexpr int requiredGlMinor = 3;

// Major and minor version at the start of a GL_VERSION string ("4.5 (Core Profile) Mesa ..."); 0.0
// when it does not start with them.
void parseGlVersion(const char* versionText, int& major, int& minor);

// The one line printed when the context is older than the viewer needs.
std::string glVersionRefusal(const char* versionText);

bool meetsRequiredGlVersion(int major, int minor);

// Null, after GLFW has reported why (or after the version line), when the window, the context or
// OpenGL 4.3 is not available; GLFW is then terminated. Installs onGlfwError first of all.
GLFWwindow* openWindow(const Settings& settings);
