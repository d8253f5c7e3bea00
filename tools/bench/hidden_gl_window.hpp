// A hidden window with a current OpenGL 4.3 core context, for the benchmarks that draw off screen
// (Mesa's llvmpipe under Xvfb on a machine without a GPU).
#pragma once

#include <glad/gl.h>
// GLFW after GLAD, which must be the first to declare the GL functions.
#include <GLFW/glfw3.h>

#include <cstdio>

// Starts GLFW, opens the window and loads GL; says why and returns null when there is no display or
// no 4.3 context. `name` starts each message and titles the window.
inline GLFWwindow* openHiddenGlWindow(int width, int height, const char* name) {
    if (!glfwInit()) {
        std::fprintf(stderr, "%s needs a display (run it under Xvfb)\n", name);
        return nullptr;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(width, height, name, nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "%s could not create an OpenGL 4.3 window\n", name);
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    gladLoadGL(glfwGetProcAddress);
    return window;
}
