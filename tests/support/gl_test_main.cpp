// Entry point of the GL test binaries: opens one hidden window with an OpenGL 4.3 context (Mesa's
// llvmpipe under Xvfb in CI) and keeps it current for every test.
#include "gl_context.hpp"

#include <gtest/gtest.h>

#include <cstdio>

namespace {
GLFWwindow* window = nullptr;
}

GLFWwindow* testWindow() {
    return window;
}
const char* sourceDir() {
    return DUSKVALE_SOURCE_DIR;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    glfwSetErrorCallback([](int code, const char* text) { std::printf("GLFW error %d: %s\n", code, text); });
    if (!glfwInit()) {
        std::fprintf(stderr, "GL tests need a display (run them under Xvfb)\n");
        return 1;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(64, 64, "gl tests", nullptr, nullptr);
    if (!window) {
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);
    gladLoadGL(glfwGetProcAddress);
    const int result = RUN_ALL_TESTS();
    glfwDestroyWindow(window);
    glfwTerminate();
    return result;
}
