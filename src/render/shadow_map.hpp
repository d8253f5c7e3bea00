// The shadow map: one fixed light looking at the scene from (20, 30, 60) through an orthographic box,
// its 8192 x 8192 depth target, the light-space matrix and the set-up of the depth pass.
#pragma once

#include "render/shader_program.hpp"

#include <glad/gl.h>
#include <glm/glm.hpp>

constexpr int kShadowMapSize = 8192;
const glm::vec3 kShadowLightPosition{20.0f, 30.0f, 60.0f};

struct ShadowTarget {
    GLuint depthMapFBO = 0;
    GLuint depthMap = 0;
};

// Depth-only framebuffer with an 8192 x 8192 depth texture that reads 1.0 (the far plane) outside.
// Completeness is not queried. Leaves framebuffer 0 bound and depthMap bound to the active unit.
ShadowTarget createShadowTarget();

// Orthographic box -90..90 x -90..90, depth 1..120, seen from kShadowLightPosition towards the origin.
glm::mat4 computeLightSpaceMatrix();

// Static part of the shadow pass: makes depthProgram current with "lightSpaceMatrix", binds the
// depth target with its 8192 viewport, clears depth, and sets depth test and writes on, blending
// off and back faces culled. The caller then sets "model" and draws each object.
void beginShadowPass(const ShaderProgram& depthProgram, const ShadowTarget& shadow,
                     const glm::mat4& lightSpaceMatrix);
