// The shadow map: one fixed light looking at the scene from (20, 30, 60) through an orthographic box,
// its 8192 x 8192 depth target, the light-space matrix and the set-up of the depth pass.
#pragma once

#include "render/shader_program.hpp"
#include "render/visibility.hpp"

#include <glad/gl.h>
#include <glm/glm.hpp>

constexpr int kShadowMapSize = 8192;
const glm::vec3 kShadowLightPosition{20.0f, 30.0f, 60.0f};

struct ShadowTarget {
    GLuint depthMapFBO = 0;
    GLuint depthMap = 0;
    // The light and the static objects never move, so their depth is drawn into the map once
    // (staticDrawn). After that a frame only redraws `dirty`, the texels the character's shadow may
    // have covered in the frame before, which gives the map a full redraw would.
    bool staticDrawn = false;
    // Whether the kept map holds the static objects or was drawn empty (the shadow switched off); a
    // switch at run time needs a full redraw.
    bool holdsStatic = false;
    TexelRect dirty;
};

// Depth-only framebuffer with an 8192 x 8192 16-bit depth texture that reads 1.0 (the far plane) outside.
// Completeness is not queried. Leaves framebuffer 0 bound and depthMap bound to the active unit.
ShadowTarget createShadowTarget();

// Orthographic box -90..90 x -90..90, depth 1..120, seen from kShadowLightPosition towards the origin.
glm::mat4 computeLightSpaceMatrix();

// Static part of the shadow pass: makes depthProgram current with "lightSpaceMatrix", binds the
// depth target with its 8192 viewport, clears depth, and sets depth test and writes on, blending
// off and back faces culled. The caller then sets "model" and draws each object.
void beginShadowPass(const ShaderProgram& depthProgram, const ShadowTarget& shadow,
                     const glm::mat4& lightSpaceMatrix);

// beginShadowPass without the clear: the same program, target, viewport and state.
void bindShadowPass(const ShaderProgram& depthProgram, const ShadowTarget& shadow,
                    const glm::mat4& lightSpaceMatrix);

// Margin, in texels, around the box of the character's shadow: the box comes from CPU arithmetic
// and a triangle's edge texels are decided by the GPU's, so a couple of texels absorb the difference.
constexpr int kShadowDirtyMargin = 2;

// Marks the texels that a draw inside the world box [boxMin, boxMax] may have written as dirty, to
// be restored at the start of the next frame's shadow pass.
void markShadowDirty(ShadowTarget& shadow, const glm::mat4& lightSpaceMatrix, const glm::vec3& boxMin,
                     const glm::vec3& boxMax);
