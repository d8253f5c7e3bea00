// The viewer's one camera: mouse look, free movement and the view and projection matrices every pass
// uses. Pure arithmetic; the GLFW side (callbacks, key polling) lives with the application shell.
#pragma once

#include <glm/glm.hpp>

// Mouse look measures every movement from this window point, whatever the window size.
constexpr float cursorRestX = 960.0f;
constexpr float cursorRestY = 600.0f;

constexpr float mouseSensitivity = 0.05f; // degrees per pixel
constexpr float movementSpeed = 10.0f;    // world units per second

struct MovementKeys {
    bool forward = false;  // W
    bool backward = false; // S
    bool left = false;     // A
    bool right = false;    // D
};

struct Camera {
    glm::vec3 position{-10.8373f, 16.1101f, 1.66972f}; // the first point of the flight
    glm::vec3 front{0.0f, 0.0f, -1.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
    float yaw = -90.0f; // degrees, never wrapped
    float pitch = 0.0f; // degrees, within -89 ... 89
    bool firstMouse = true;
    float lastX = 960.0f;
    float lastY = 540.0f;

    // Turns the camera for one cursor event at window point (x, y). The caller then puts the cursor
    // back at (cursorRestX, cursorRestY), from where the next offset is measured.
    void look(float x, float y);

    // Moves along front (W/S) and sideways (A/D) by speed x deltaTime; held keys combine.
    void move(const MovementKeys& keys, float deltaTime);

    glm::mat4 viewMatrix() const;
};

// Perspective of every camera pass: 60 degrees vertical, aspect of the size the frame renders at (the
// window's framebuffer, so it follows a resize), near 0.1, far 250.
glm::mat4 projectionMatrix(int width, int height);
