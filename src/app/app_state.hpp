// The run-time switches and clocks that several parts of the viewer share. There is one instance for
// the whole process.
#pragma once

struct AppState {
    bool automaticCam = true;
    bool gammaEnabled = true;
    bool ambientOcclusionEnabled = true;
    float deltaTime = 0.0f;
    float flightTime = 0.0f;
    bool paused = false;
};

extern AppState appState;
