// The camera values of one frame that the geometry, lit and character passes read.
#pragma once

#include <glm/glm.hpp>

struct FrameView {
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    glm::mat4 viewProj{1.0f}; // projection * view
    glm::vec3 cameraPosition{0.0f};
};
