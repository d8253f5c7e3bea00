// One hidden OpenGL 4.3 window for the GL tests of a test binary, created before the first test.
#pragma once

#include <glad/gl.h>
#include <GLFW/glfw3.h>

GLFWwindow* testWindow();

// Source root and build paths, for tests that read shaders or generated assets.
const char* sourceDir();
const char* buildDir();
