// GLFW side of resizing, minimising and the full-screen switch. The decisions that need no window
// (the title's rate, the screenshot's name, the scene clock) live in their own files.
#include "app/window_events.hpp"

#include "app/app_state.hpp"

WindowRequests windowRequests;

void onWindowKey(int key, int action) {
    if (action != GLFW_PRESS)
        return;
    if (key == GLFW_KEY_SPACE)
        appState.paused = !appState.paused;
    else if (key == GLFW_KEY_F11)
        windowRequests.toggleFullScreen = true;
    else if (key == GLFW_KEY_F12)
        windowRequests.screenshot = true;
}

DesktopWindow startDesktopWindow(GLFWwindow* window, const Settings& settings, const Options& options) {
    DesktopWindow desktop;
    if (options.noVsync)
        glfwSwapInterval(0);
    desktop.windowedWidth = settings.width;
    desktop.windowedHeight = settings.height;
    if (!glfwGetWindowMonitor(window))
        glfwGetWindowPos(window, &desktop.windowedX, &desktop.windowedY);
    if (!options.recordDir.empty()) {
        // Every frame of a video has one size; the hints keep a window manager from offering a
        // resize, and followFramebufferSize undoes one that comes anyway.
        desktop.sizePinned = true;
        desktop.pinnedWidth = settings.width;
        desktop.pinnedHeight = settings.height;
        glfwSetWindowAttrib(window, GLFW_RESIZABLE, GLFW_FALSE);
        glfwSetWindowSizeLimits(window, settings.width, settings.height, settings.width, settings.height);
    }
    return desktop;
}

namespace {

bool isMinimised(GLFWwindow* window) {
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    return glfwGetWindowAttrib(window, GLFW_ICONIFIED) || width <= 0 || height <= 0;
}

} // namespace

bool waitWhileMinimised(GLFWwindow* window, DesktopWindow& desktop) {
    bool waited = false;
    while (isMinimised(window) && !glfwWindowShouldClose(window)) {
        // The timeout only bounds the wait should a restore come without an event GLFW reports.
        glfwWaitEventsTimeout(0.25);
        waited = true;
    }
    if (waited)
        desktop.resuming = true;
    return waited;
}

void followFramebufferSize(GLFWwindow* window, const DesktopWindow& desktop, RenderTargets& targets) {
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    if (width <= 0 || height <= 0 || (width == targets.width && height == targets.height))
        return;
    if (desktop.sizePinned) {
        glfwSetWindowSize(window, desktop.pinnedWidth, desktop.pinnedHeight);
        return;
    }
    resizeRenderTargets(targets, width, height);
}

void serveFullScreenKey(GLFWwindow* window, DesktopWindow& desktop) {
    if (!windowRequests.toggleFullScreen)
        return;
    windowRequests.toggleFullScreen = false;
    if (desktop.sizePinned)
        return;
    if (glfwGetWindowMonitor(window)) {
        glfwSetWindowMonitor(window, nullptr, desktop.windowedX, desktop.windowedY, desktop.windowedWidth,
                             desktop.windowedHeight, GLFW_DONT_CARE);
        return;
    }
    glfwGetWindowPos(window, &desktop.windowedX, &desktop.windowedY);
    glfwGetWindowSize(window, &desktop.windowedWidth, &desktop.windowedHeight);
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (mode)
        glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}
