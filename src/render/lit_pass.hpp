// Set-up of the lit pass: the off-screen scene target and the screen-space inputs (blurred
// occlusion, stored shadow term) that the Phong programs read.
#pragma once

#include "render/render_targets.hpp"
#include "render/shader_program.hpp"

// Binds sceneFBO and clears its colour white, keeping the static objects' depth that the geometry
// pass left in it (keepStaticDepth), and turns depth testing on with GL_LEQUAL, depth writes off and
// a first-surface-wins stencil test on (the viewport stays the window's). Without a complete
// sceneFBO (staticDepthComplete false) it clears depth as well and only turns depth testing on.
void beginLitPass(const RenderTargets& targets);
// After the static objects: depth writes on and the stencil test off again, for the character.
void endLitPass();

// Sets "ssao" = 2 with ssaoColorBufferBlur on unit 2 and "shadowMap" = 3 with gShadowTexture on
// unit 3 on the current program. Meshes bind only units 0 and 1, so both stay bound for the pass.
void bindLitPassInputs(const ShaderProgram& program, const RenderTargets& targets);
