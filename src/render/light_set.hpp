// The block of light and material uniforms every Phong-lit program receives: point and directional
// lights as parallel arrays with counts, the draw group's material strengths and the switches.
#pragma once

#include "app/app_state.hpp"
#include "render/shader_program.hpp"

#include <glm/glm.hpp>

#include <vector>

struct LightSet {
    std::vector<glm::vec3> pointColors;
    std::vector<glm::vec3> pointPositions;
    std::vector<float> pointConstant;
    std::vector<float> pointLinear;
    std::vector<float> pointQuadratic;
    int pointCount = 0; // 0 or less hands over no point light
    std::vector<glm::vec3> directionalDirections;
    std::vector<glm::vec3> directionalColors;
    int directionalCount = 0; // 0 or less hands over no directional light
};

struct MaterialParams {
    float ambientStrength = 0.3f;
    float diffuseStrength = 0.5f;
    float specularStrength = 0.4f;
    bool isReflective = false;
};

// The "alpha" every lit program receives, whatever the material.
constexpr float kLitAlpha = 0.6f;

// Makes the program current and sets the whole block by name, in a fixed order: the counts, the first
// pointCount point lights ("lightColor[i]", "lightPos[i]", "constant[i]", "linear[i]",
// "quadratic[i]"), each directional light into the same unindexed "lightDirect" and
// "directLightColor" (the last one wins), then "viewPos", "alpha", the material, "gamma", the two
// switches read from `switches` at the call, "isReflective", "viewProjMatrix" and the samplers
// "diffuse" = 0 and "specular" = 1. Entries beyond the counts keep what the program last received.
// A count larger than its arrays is cut to the arrays' length instead of reading past them.
void applyLightSet(const ShaderProgram& program, const glm::vec3& viewerPosition, const LightSet& lights,
                   const glm::mat4& viewProj, const MaterialParams& material, float gamma,
                   const AppState& switches);
