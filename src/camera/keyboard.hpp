// Per-frame keyboard handling: Escape, the edge-triggered F/H/G switches and free movement. Takes
// the keys as plain flags so it can run without a window; the GLFW polling wraps it.
#pragma once

#include "app/app_state.hpp"
#include "camera/camera.hpp"

struct KeyStates {
    bool escape = false;
    bool f = false; // automatic camera
    bool h = false; // ambient occlusion
    bool g = false; // gamma correction
    MovementKeys movement;
};

// Whether each toggle key was down at the previous call; a switch flips only on a fresh press.
struct ToggleKeyMemory {
    bool fWasDown = false;
    bool hWasDown = false;
    bool gWasDown = false;
};

// Applies one frame of keys to the switches and, when the camera is free, moves it by the state's
// deltaTime. Returns true when Escape is down, so the caller asks the window to close.
bool handleKeys(const KeyStates& keys, ToggleKeyMemory& memory, AppState& state, Camera& camera);
