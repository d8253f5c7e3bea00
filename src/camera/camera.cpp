// Mouse look, free movement and the camera matrices.
#include "camera/camera.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

void Camera::look(float x, float y) {
    if (firstMouse) {
        lastX = x;
        lastY = y;
        firstMouse = false;
    }
    const float xOffset = x - lastX;
    const float yOffset = lastY - y; // window y grows downwards; moving the mouse up looks up
    lastX = cursorRestX;
    lastY = cursorRestY;

    yaw += xOffset * mouseSensitivity;
    pitch += yOffset * mouseSensitivity;
    // Past 90 degrees the look-at matrix would flip over, because up no longer lies above front.
    if (pitch > 89.0f)
        pitch = 89.0f;
    if (pitch < -89.0f)
        pitch = -89.0f;

    const float yawRadians = glm::radians(yaw);
    const float pitchRadians = glm::radians(pitch);
    front = glm::normalize(glm::vec3(std::cos(yawRadians) * std::cos(pitchRadians), std::sin(pitchRadians),
                                     std::sin(yawRadians) * std::cos(pitchRadians)));
}

void Camera::move(const MovementKeys& keys, float deltaTime) {
    const float step = movementSpeed * deltaTime;
    const glm::vec3 side = glm::normalize(glm::cross(front, up));
    if (keys.forward)
        position += front * step;
    if (keys.backward)
        position -= front * step;
    if (keys.left)
        position -= side * step;
    if (keys.right)
        position += side * step;
}

glm::mat4 Camera::viewMatrix() const {
    return glm::lookAt(position, position + front, up);
}

glm::mat4 projectionMatrix(int width, int height) {
    return glm::perspective(glm::radians(60.0f), static_cast<float>(width) / static_cast<float>(height), 0.1f,
                            250.0f);
}
