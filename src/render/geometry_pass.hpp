// Set-up of the geometry-buffer pass: view-space normal and position for the occlusion pass and
// the shadow term from the shadow map, written per pixel into the six-attachment geometry buffer.
#pragma once

#include "render/frame_view.hpp"
#include "render/render_targets.hpp"
#include "render/shader_program.hpp"

#include <glm/glm.hpp>

// Binds the geometry buffer with the window-sized viewport, clears white the attachments the draws
// will reach (the others keep what they hold: white from their creation, or an earlier frame's
// albedo and baked light, which only the buffer views read), and makes geometryProgram current with
// "shadowMap" (depthMap on unit 2), "lightSpaceMatrix", "projection", "view", "lightPos" and "viewPos". The
// caller then sets "model" and draws each object. Draws reach attachments 1, 4 and 5, and 0 and 2 as well
// with `storeMaterial` (the albedo and baked-light views).
void beginGeometryPass(const ShaderProgram& geometryProgram, const RenderTargets& targets,
                       const glm::mat4& lightSpaceMatrix, const FrameView& frame, bool storeMaterial = false);

// Makes geometryProgram current with the frame's uniforms that beginGeometryPass sets ("shadowMap" = 2
// and the matrices and positions).
void setGeometryUniforms(const ShaderProgram& geometryProgram, const glm::mat4& lightSpaceMatrix,
                         const FrameView& frame);

// After the static objects, before the character: copies the geometry buffer's depth and stencil
// into sceneDepthStencil, where the lit pass starts from them.
void keepStaticDepth(const RenderTargets& targets);
