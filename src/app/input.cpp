// GLFW side of the camera's input: reads the keys and cursor and hands them to the pure handlers.
#include "app/input.hpp"

#include "app/app_state.hpp"
#include "app/window_events.hpp"
#include "camera/keyboard.hpp"

Camera camera;

namespace {

ToggleKeyMemory toggleKeyMemory;

bool isDown(GLFWwindow* window, int key) {
    return glfwGetKey(window, key) == GLFW_PRESS;
}

} // namespace

void onKey(GLFWwindow* window, int key, int, int action, int) {
    if (key == GLFW_KEY_ESCAPE && action == GLFW_PRESS)
        glfwSetWindowShouldClose(window, GLFW_TRUE);
    onWindowKey(key, action);
}

void onCursorPos(GLFWwindow* window, double x, double y) {
    camera.look(static_cast<float>(x), static_cast<float>(y));
    // GLFW drops the motion event its own warp causes, so this does not feed back into the handler.
    glfwSetCursorPos(window, cursorRestX, cursorRestY);
}

void processInput(GLFWwindow* window) {
    KeyStates keys;
    keys.escape = isDown(window, GLFW_KEY_ESCAPE);
    keys.f = isDown(window, GLFW_KEY_F);
    keys.h = isDown(window, GLFW_KEY_H);
    keys.g = isDown(window, GLFW_KEY_G);
    keys.movement.forward = isDown(window, GLFW_KEY_W);
    keys.movement.backward = isDown(window, GLFW_KEY_S);
    keys.movement.left = isDown(window, GLFW_KEY_A);
    keys.movement.right = isDown(window, GLFW_KEY_D);
    if (handleKeys(keys, toggleKeyMemory, appState, camera))
        glfwSetWindowShouldClose(window, GLFW_TRUE);
}
