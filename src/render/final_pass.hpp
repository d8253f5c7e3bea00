// The last pass of the frame: copies the off-screen scene colour over the whole window.
#pragma once

#include "render/render_targets.hpp"
#include "render/shader_program.hpp"

// Clears the window white and draws sceneColor over it with colorProgram and the full-screen quad.
void runFinalPass(const ShaderProgram& colorProgram, const RenderTargets& targets);
