// The frame's passes over the static scene objects: shadow depth, geometry buffer and the lit
// scene in its four material groups. The character's draws follow each of them (character_passes).
#pragma once

#include "app/app_state.hpp"
#include "render/frame_view.hpp"
#include "render/light_set.hpp"
#include "render/lit_groups.hpp"
#include "render/render_targets.hpp"
#include "render/shader_program.hpp"

#include <glm/glm.hpp>

#include <vector>

struct LitVariants;

// Sets the matrix uniform `matrixName` and draws each object in order with the current program.
void drawSceneObjects(const ShaderProgram& program, const std::vector<SceneObject>& objects,
                      const char* matrixName);

// drawSceneObjects for the meshes whose box can reach the clip volume of clipFromWorld, and of
// those only the runs of triangles (Mesh::runBounds) that can, in their order; an object's matrix is
// set only when one of its meshes is drawn. Skipped triangles could not have drawn a fragment.
void drawVisibleSceneObjects(const ShaderProgram& program, const std::vector<SceneObject>& objects,
                             const char* matrixName, const glm::mat4& clipFromWorld);

// The meshes of `objects` that can reach the view (their runs that can, as above) in drawOrderKey
// order (nearest box first, boxes around the camera last), so that the depth test rejects hidden fragments
// before they are shaded; an object's matrix is set whenever the next mesh belongs to another object. Where
// surfaces coincide exactly the mesh drawn first wins.
// With unshadowedProgram, the objects whose shadowTermRead is false are drawn by it instead, in the
// same order; program is current again at the end.
void drawVisibleFrontToBack(const ShaderProgram& program, const std::vector<SceneObject>& objects,
                            const char* matrixName, const FrameView& frame,
                            const ShaderProgram* unshadowedProgram = nullptr);

// Depth of `objects` (in the shadow draw order) from the shadow light. The first call draws them all
// into the cleared map; later calls clear and redraw only shadow.dirty (with the scissor, culled to
// it), so the objects must be the same every call. Leaves depthMapFBO bound with the 8192 viewport,
// the scissor test off, depth test on and depthProgram current: next, prepareCharacterShadowDraw and
// the character script, whose shadow then goes into markShadowDirty.
void runShadowPass(const ShaderProgram& depthProgram, ShadowTarget& shadow, const glm::mat4& lightSpaceMatrix,
                   const std::vector<SceneObject>& objects);

// Geometry buffer of the on-screen meshes of `objects`, nearest first, with their shadow term. Leaves gBuffer
// bound, the window viewport, depth test on and geometryProgram current: next, prepareCharacterGeometryDraw
// and the character script.
void runGeometryPass(const ShaderProgram& geometryProgram, const RenderTargets& targets,
                     const glm::mat4& lightSpaceMatrix, const FrameView& frame,
                     const std::vector<SceneObject>& objects, bool storeMaterial = false,
                     const ShaderProgram* unshadowedProgram = nullptr);

// The lit scene into sceneFBO: each group gets applyLightSet with its material and light counts (the
// set's other values unchanged), then its on-screen meshes with "modelMatrix"; "ssao" and "shadowMap" are
// bound once, after the first group's lights. With `variants`, each mesh is drawn by the variant
// without the lamps that cannot reach it and without the moonlight and reflective code its group
// does not use (the same picture, less shaded per fragment). Leaves sceneFBO
// bound, depth test on, phongProgram current and the occlusion and shadow terms on units 2 and 3:
// next, prepareCharacterLitDraw and the character script.
void runLitPass(const ShaderProgram& phongProgram, const RenderTargets& targets, const FrameView& frame,
                const LightSet& lights, float gamma, const AppState& switches,
                const std::vector<LitGroup>& groups, LitVariants* variants = nullptr);
