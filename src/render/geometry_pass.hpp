// Set-up of the geometry-buffer pass: view-space normal and position for the occlusion pass and
// the shadow term from the shadow map, written per pixel into the six-attachment geometry buffer.
#pragma once

#include "render/frame_view.hpp"
#include "render/render_targets.hpp"
#include "render/shader_program.hpp"

#include <glm/glm.hpp>

// Binds the geometry buffer with the window-sized viewport, clears it white, and makes
// geometryProgram current with "shadowMap" (depthMap on unit 2), "lightSpaceMatrix", "projection",
// "view", "lightPos" and "viewPos". The caller then sets "model" and draws each object.
void beginGeometryPass(const ShaderProgram& geometryProgram, const RenderTargets& targets,
                       const glm::mat4& lightSpaceMatrix, const FrameView& frame);

// After the static objects, before the character: copies the geometry buffer's depth into
// staticDepthFBO for the lit pass.
void keepStaticDepth(const RenderTargets& targets);
