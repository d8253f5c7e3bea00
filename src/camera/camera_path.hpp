// The built-in flight: 15 camera positions and look-at targets joined by 14 straight segments, each
// with its own duration (85 s in all). The flight keeps its own clock, which runs only while it
// drives the camera.
#pragma once

#include "camera/camera.hpp"

#include <array>

struct CameraPathRow {
    glm::vec3 position;
    glm::vec3 target;
    float duration; // of the segment that ends at this row; 0 for the first row
};

struct CameraPath {
    std::array<CameraPathRow, 15> rows{{
        {{-10.8373f, 16.1101f, 1.66972f}, {-6.05672f, 16.2662f, 8.07722f}, 0.0f},
        {{-6.05672f, 16.2662f, 4.07722f}, {-3.34102f, 16.2951f, 2.133027f}, 4.0f},
        {{-5.34102f, 16.2951f, -0.133027f}, {2.23165f, 16.2017f, -4.3066f}, 4.0f},
        {{-6.23165f, 16.2017f, -4.3066f}, {-4.49184f, 18.1267f, -9.60501f}, 4.0f},
        {{-6.49184f, 18.1267f, -9.60501f}, {-4.0f, 20.0f, -4.5f}, 4.0f},
        {{-3.50684f, 19.6024f, -5.06904f}, {-5.0f, 20.0f, 0.0f}, 4.0f},
        {{-14.1914f, 21.6207f, -12.1069f}, {-5.0f, 20.0f, 0.0f}, 6.0f},
        {{-29.3726f, 28.2548f, 3.07915f}, {-5.0f, 20.0f, 0.0f}, 6.0f},
        {{-24.2505f, 42.235f, 23.247f}, {-5.0f, 20.0f, 0.0f}, 6.0f},
        {{8.58756f, 34.8238f, 29.6038f}, {-5.0f, 20.0f, 0.0f}, 6.0f},
        {{20.1496f, 19.3923f, -5.35249f}, {-5.0f, 20.0f, 0.0f}, 6.0f},
        {{-23.0f, 2.0f, -40.0f}, {-23.0f, 2.0f, 30.0f}, 8.0f},
        {{-23.0f, 2.0f, 24.0f}, {-23.0f, 2.0f, 60.0f}, 17.0f},
        {{-23.0f, 2.0f, 28.0f}, {-10.0f, 2.0f, 5.0f}, 5.0f},
        {{-23.0f, 2.0f, 32.0f}, {-23.0f, 2.0f, -30.0f}, 5.0f},
    }};

    // Adds deltaTime to flightTime and, when the new time lies strictly inside a segment, places the
    // camera on it and aims it at the interpolated target. On a segment boundary and from 85 s on
    // the camera is left as it is.
    void advance(Camera& camera, float& flightTime, float deltaTime) const;
};
