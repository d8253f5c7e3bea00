// Screen-space ambient occlusion: the fixed 32-sample hemisphere kernel and the 4 x 4 rotation noise
// drawn from the C library generator at start-up, and the occlusion and blur passes of every frame.
#pragma once

#include "render/render_targets.hpp"
#include "render/shader_program.hpp"

#include <glad/gl.h>
#include <glm/glm.hpp>

#include <vector>

constexpr int kOcclusionKernelSize = 32;
constexpr int kOcclusionNoiseSize = 4;

// 32 offsets in the +z hemisphere, growing from at most 0.1 to at most 0.3112 in length. Draws
// 1 + 4 x 32 values from the generator in a fixed order, so a run always gets the same kernel.
std::vector<glm::vec3> buildOcclusionKernel();

// 16 rotation vectors with x and y in [-1, 1] and z = 0 (two draws each: y first, then x).
std::vector<glm::vec3> buildOcclusionNoise();

// A 4 x 4 RGBA16F texture of the noise, nearest-filtered and repeating so that it tiles the screen.
// It stays bound to the active unit.
GLuint createNoiseTexture(const std::vector<glm::vec3>& ssaoNoise);

// Writes the raw occlusion term into ssaoFBO from the geometry buffer's view-space position and
// normal. Uploads the whole kernel as "samples[i]" every call.
void runOcclusionPass(const ShaderProgram& ssaoProgram, const RenderTargets& targets,
                      const std::vector<glm::vec3>& ssaoKernel, GLuint noiseTexture,
                      const glm::mat4& projection);

// Box-blurs the raw term over the 4 x 4 noise tile into ssaoBlurFBO, which the lit pass reads.
void runOcclusionBlurPass(const ShaderProgram& ssaoBlurProgram, const RenderTargets& targets);

// Stands in for both passes when occlusion is left out of a run: the raw and the blurred term read 1
// (nothing occluded) everywhere, so a buffer view of either never shows an earlier frame's term.
// Leaves ssaoBlurFBO bound.
void clearOcclusion(const RenderTargets& targets);
