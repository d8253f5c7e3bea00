// One hidden OpenGL 4.3 window for the GL tests of a test binary, created before the first test.
#pragma once

// glad must come before GLFW, which would otherwise pull in the system's GL header.
#include <glad/gl.h>

#include <GLFW/glfw3.h>

GLFWwindow* testWindow();

// The source root, for tests that read the shaders.
const char* sourceDir();
