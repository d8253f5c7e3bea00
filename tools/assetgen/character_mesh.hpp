// Wendrel's skinned mesh in its rest pose: closed tubes around the bones (torso, limbs, hands, boots,
// hooded head), each with smooth normals, a rectangle of the skin atlas and 1-4 bone weights per vertex.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

struct SkinnedVertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 uv{0.0f}; // v = 0 at the bottom of the image, as FBX stores it
    int joints[4] = {0, 0, 0, 0};
    float weights[4] = {0.0f, 0.0f, 0.0f, 0.0f}; // descending, sum 1, unused slots 0
};

struct CharacterMesh {
    std::vector<SkinnedVertex> vertices;
    std::vector<std::uint32_t> indices; // triangles, counter-clockwise seen from outside
};

CharacterMesh buildCharacterMesh();
