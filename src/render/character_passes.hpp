// Set-up of the character's draws inside the shadow, geometry and lit passes: which skinned program
// is current and what it has been handed before the character script draws with it.
#pragma once

#include "app/app_state.hpp"
#include "render/frame_view.hpp"
#include "render/light_set.hpp"
#include "render/render_targets.hpp"
#include "render/shader_program.hpp"

#include <glm/glm.hpp>

// The character's material in the geometry and lit passes.
constexpr MaterialParams kCharacterMaterial{0.3f, 0.5f, 0.4f, false};

// After the shadow pass's static objects: depthSkinnedProgram current with "lightSpaceMatrix".
void prepareCharacterShadowDraw(const ShaderProgram& depthSkinnedProgram, const glm::mat4& lightSpaceMatrix);

// After the geometry pass's static objects: the light set (all its point and directional lights)
// on geometrySkinnedProgram, which is left current. Its shaders store a shadow term of 1, since the
// program gets no shadow map: the character casts shadows but is not shadowed.
void prepareCharacterGeometryDraw(const ShaderProgram& geometrySkinnedProgram, const FrameView& frame,
                                  const LightSet& lights, float gamma, const AppState& switches);

// After the lit pass's static objects: the light set and "ssao" (ssaoColorBufferBlur on unit 2) on
// phongSkinnedProgram, which is left current.
void prepareCharacterLitDraw(const ShaderProgram& phongSkinnedProgram, const RenderTargets& targets,
                             const FrameView& frame, const LightSet& lights, float gamma,
                             const AppState& switches);
