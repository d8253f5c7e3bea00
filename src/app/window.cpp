// Window and context set-up, in the order the rest of the program relies on: the error callback before
// glfwInit, input callbacks before the first poll, the debug callback once the entry points exist.
#include "app/window.hpp"

#include "app/diagnostics.hpp"
#include "app/input.hpp"

#include <glad/gl.h>

#include <cstdio>
#include <iostream>

void parseGlVersion(const char* versionText, int& major, int& minor) {
    major = 0;
    minor = 0;
    if (!versionText || std::sscanf(versionText, "%d.%d", &major, &minor) != 2) {
        major = 0;
        minor = 0;
    }
}

bool meetsRequiredGlVersion(int major, int minor) {
    return major > requiredGlMajor || (major == requiredGlMajor && minor >= requiredGlMinor);
}

std::string glVersionRefusal(const char* versionText) {
    int major = 0;
    int minor = 0;
    parseGlVersion(versionText, major, minor);
    return "Duskvale needs OpenGL " + std::to_string(requiredGlMajor) + "." +
           std::to_string(requiredGlMinor) + ", but this system offers OpenGL " + std::to_string(major) +
           "." + std::to_string(minor) + " (\"" + (versionText ? versionText : "no version string") +
           "\"); exiting. See \"Without OpenGL 4.3\" in README.md.";
}

namespace {

// GL_VERSION of the best context the system offers without version hints, read from a hidden
// throw-away window; empty when not even that can be made.
std::string probeGlVersion() {
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    const GLFWerrorfun reportErrors = glfwSetErrorCallback(nullptr);
    std::string text;
    if (GLFWwindow* probe = glfwCreateWindow(16, 16, "Duskvale", nullptr, nullptr)) {
        glfwMakeContextCurrent(probe);
        const auto getString = reinterpret_cast<PFNGLGETSTRINGPROC>(glfwGetProcAddress("glGetString"));
        const GLubyte* version = getString ? getString(GL_VERSION) : nullptr;
        if (version)
            text = reinterpret_cast<const char*>(version);
        glfwMakeContextCurrent(nullptr);
        glfwDestroyWindow(probe);
    }
    glfwSetErrorCallback(reportErrors);
    return text;
}

} // namespace

GLFWwindow* openWindow(const Settings& settings) {
    glfwSetErrorCallback(onGlfwError);
    if (!glfwInit())
        return nullptr;

    // Exactly these three hints: profile, forward compatibility and debug context stay at GLFW's
    // defaults, so the driver's debug output is whatever its ordinary context offers.
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, requiredGlMajor);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, requiredGlMinor);
    glfwWindowHint(GLFW_REFRESH_RATE, settings.refresh_rate);
    GLFWmonitor* monitor = settings.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    GLFWwindow* window = glfwCreateWindow(settings.width, settings.height, "Duskvale", monitor, nullptr);
    if (!window) {
        // GLFW has said why; when the reason is the version, also say which one there is.
        if (glfwGetError(nullptr) == GLFW_VERSION_UNAVAILABLE) {
            const std::string found = probeGlVersion();
            std::cerr << glVersionRefusal(found.empty() ? nullptr : found.c_str()) << std::endl;
        }
        glfwTerminate();
        return nullptr;
    }
    glfwSetKeyCallback(window, onKey);
    glfwSetCursorPosCallback(window, onCursorPos);

    glfwMakeContextCurrent(window);
    gladLoadGL(glfwGetProcAddress);
    // A driver may hand out an older context than asked for (MESA_GL_VERSION_OVERRIDE, old hardware);
    // compute shaders and storage buffers would then fail pass by pass, so refuse the run up front.
    const char* versionText = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
    parseGlVersion(versionText, major, minor);
    if (!meetsRequiredGlVersion(major, minor)) {
        std::cerr << glVersionRefusal(versionText) << std::endl;
        glfwDestroyWindow(window);
        glfwTerminate();
        return nullptr;
    }

    glfwSwapInterval(1);
    // Hidden but not captured: mouse look puts the cursor back at its rest point after every move.
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
    if (glDebugMessageCallback) {
        glDebugMessageCallback(onGlDebugMessage, nullptr);
        glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    }

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    return window;
}
