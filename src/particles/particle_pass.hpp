// The frame's particle pass: every emitter is stepped and then drawn into the scene target, in the
// scene's emitter order.
#pragma once

#include "particles/particle_system.hpp"

#include <glm/glm.hpp>

#include <vector>

// For each emitter k (up to the shorter of the two lists): model-view = view × placements[k],
// update(deltaTime), draw. Draws into the framebuffer that is bound (the scene target, with the lit
// pass's depth). Leaves depth test on, depth writes on, blending off, program 0, vertex array 0, the
// last emitter's sprite array on texture unit 0, and every colour attachment writable.
void runParticlePass(std::vector<ParticleSystem>& emitters, const std::vector<glm::mat4>& placements,
                     const glm::mat4& view, const glm::mat4& projection, double deltaTime);

// The state the pass sets around its emitters; split out so that a benchmark can time the emitters'
// steps one by one under the same state.
void beginParticlePass();
void endParticlePass();
