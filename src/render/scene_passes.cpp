// Draws the static scene objects through the shadow, geometry-buffer and lit passes.
#include "render/scene_passes.hpp"

#include "model/model.hpp"
#include "render/geometry_pass.hpp"
#include "render/lit_pass.hpp"
#include "render/lit_variants.hpp"
#include "render/shadow_map.hpp"
#include "render/visibility.hpp"

#include <algorithm>
#include <bitset>

namespace {

// The mesh's runs that can reach the clip volume of clipFromLocal, in list order: the picture of the
// whole mesh without the triangles that lie off it.
void drawVisibleRuns(const Mesh& mesh, const glm::mat4& clipFromLocal) {
    // Kept between draws so that a frame allocates nothing once it has grown.
    static std::vector<IndexRange> ranges;
    visibleRuns(mesh.runBounds, mesh.indexCount, clipFromLocal, ranges);
    mesh.drawRanges(ranges);
}

} // namespace

void drawSceneObjects(const ShaderProgram& program, const std::vector<SceneObject>& objects,
                      const char* matrixName) {
    for (const SceneObject& object : objects) {
        if (object.model == nullptr)
            continue;
        program.setMat4(matrixName, object.matrix);
        object.model->draw();
    }
}

void drawVisibleSceneObjects(const ShaderProgram& program, const std::vector<SceneObject>& objects,
                             const char* matrixName, const glm::mat4& clipFromWorld) {
    for (const SceneObject& object : objects) {
        if (object.model == nullptr)
            continue;
        const glm::mat4 clipFromLocal = clipFromWorld * object.matrix;
        bool matrixSet = false;
        for (const Mesh& mesh : object.model->meshes) {
            if (boxOutsideClip(mesh.boundsMin, mesh.boundsMax, clipFromLocal))
                continue;
            if (!matrixSet) {
                program.setMat4(matrixName, object.matrix);
                matrixSet = true;
            }
            drawVisibleRuns(mesh, clipFromLocal);
        }
    }
}

void drawVisibleFrontToBack(const ShaderProgram& program, const std::vector<SceneObject>& objects,
                            const char* matrixName, const FrameView& frame,
                            const ShaderProgram* unshadowedProgram) {
    struct MeshDraw {
        const SceneObject* object;
        const Mesh* mesh;
        float distance;
    };
    // Kept between frames so that sorting allocates nothing once the list has grown.
    static std::vector<MeshDraw> draws;
    draws.clear();
    for (const SceneObject& object : objects) {
        if (object.model == nullptr)
            continue;
        const glm::mat4 clipFromLocal = frame.viewProj * object.matrix;
        for (const Mesh& mesh : object.model->meshes)
            if (!boxOutsideClip(mesh.boundsMin, mesh.boundsMax, clipFromLocal))
                draws.push_back(
                    {&object, &mesh,
                     drawOrderKey(frame.cameraPosition, mesh.boundsMin, mesh.boundsMax, object.matrix)});
    }
    // Stable, so that meshes at the same distance keep the list's order.
    std::stable_sort(draws.begin(), draws.end(),
                     [](const MeshDraw& a, const MeshDraw& b) { return a.distance < b.distance; });
    const bool switching = unshadowedProgram != nullptr && unshadowedProgram->id != 0;
    const ShaderProgram* used = &program;
    const SceneObject* current = nullptr;
    for (const MeshDraw& draw : draws) {
        const ShaderProgram* wanted =
            switching && !draw.object->shadowTermRead ? unshadowedProgram : &program;
        if (wanted != used) {
            wanted->use();
            used = wanted;
            current = nullptr;
        }
        if (draw.object != current) {
            used->setMat4(matrixName, draw.object->matrix);
            current = draw.object;
        }
        drawVisibleRuns(*draw.mesh, frame.viewProj * draw.object->matrix);
    }
    if (used != &program)
        program.use();
}

void runShadowPass(const ShaderProgram& depthProgram, ShadowTarget& shadow, const glm::mat4& lightSpaceMatrix,
                   const std::vector<SceneObject>& objects) {
    const bool withStatic = !objects.empty();
    if (!shadow.staticDrawn || shadow.holdsStatic != withStatic) {
        beginShadowPass(depthProgram, shadow, lightSpaceMatrix);
        drawSceneObjects(depthProgram, objects, "model");
        shadow.staticDrawn = true;
        shadow.holdsStatic = withStatic;
        shadow.dirty = TexelRect{};
        return;
    }
    bindShadowPass(depthProgram, shadow, lightSpaceMatrix);
    if (shadow.dirty.empty())
        return;
    const TexelRect& rect = shadow.dirty;
    glEnable(GL_SCISSOR_TEST);
    glScissor(rect.x0, rect.y0, rect.x1 - rect.x0, rect.y1 - rect.y0);
    glClear(GL_DEPTH_BUFFER_BIT);
    // Culling against a rectangle one texel wider than the scissor keeps every triangle that can
    // cover a texel centre inside it, whatever the rounding of the crop.
    const TexelRect reach{rect.x0 - 1, rect.y0 - 1, rect.x1 + 1, rect.y1 + 1};
    drawVisibleSceneObjects(depthProgram, objects, "model",
                            cropToTexelRect(reach, kShadowMapSize) * lightSpaceMatrix);
    glDisable(GL_SCISSOR_TEST);
    shadow.dirty = TexelRect{};
}

void runGeometryPass(const ShaderProgram& geometryProgram, const RenderTargets& targets,
                     const glm::mat4& lightSpaceMatrix, const FrameView& frame,
                     const std::vector<SceneObject>& objects, bool storeMaterial,
                     const ShaderProgram* unshadowedProgram) {
    if (unshadowedProgram != nullptr && unshadowedProgram->id != 0)
        setGeometryUniforms(*unshadowedProgram, lightSpaceMatrix, frame);
    beginGeometryPass(geometryProgram, targets, lightSpaceMatrix, frame, storeMaterial);
    drawVisibleFrontToBack(geometryProgram, objects, "model", frame, unshadowedProgram);
    keepStaticDepth(targets);
}

namespace {

// The group's on-screen meshes in list order, each drawn by the variant that holds only the lamps
// able to reach it, and the moonlight and reflective code only where the group uses them. A variant receives
// the group's block before its first draw; the full program already has it.
void drawWithReachingLamps(LitVariants& variants, const ShaderProgram& phongProgram, const LitGroup& group,
                           const LightSet& groupLights, const RenderTargets& targets, const FrameView& frame,
                           float gamma, const AppState& switches) {
    // One bit per variant key.
    std::bitset<kFullLitProgram + 1> given;
    const ShaderProgram* current = &phongProgram;
    const SceneObject* placed = nullptr;
    for (const SceneObject& object : group.objects) {
        if (object.model == nullptr)
            continue;
        const glm::mat4 clipFromLocal = frame.viewProj * object.matrix;
        for (const Mesh& mesh : object.model->meshes) {
            if (boxOutsideClip(mesh.boundsMin, mesh.boundsMax, clipFromLocal))
                continue;
            const int key =
                litVariantKey(lampsReachingMesh(mesh, object.matrix, groupLights), groupLights,
                              group.material, gamma, switches.gammaEnabled, meshHasBakedLight(mesh));
            const ShaderProgram& program = litProgramFor(variants, phongProgram, key);
            if (&program != current) {
                if (&program != &phongProgram && !given[static_cast<size_t>(key)]) {
                    applyLightSet(program, frame.cameraPosition, groupLights, frame.viewProj, group.material,
                                  gamma, switches);
                    bindLitPassInputs(program, targets);
                    given.set(static_cast<size_t>(key));
                } else {
                    program.use();
                }
                current = &program;
                placed = nullptr;
            }
            if (placed != &object) {
                program.setMat4("modelMatrix", object.matrix);
                placed = &object;
            }
            drawVisibleRuns(mesh, clipFromLocal);
        }
    }
    if (current != &phongProgram)
        phongProgram.use();
}

} // namespace

void runLitPass(const ShaderProgram& phongProgram, const RenderTargets& targets, const FrameView& frame,
                const LightSet& lights, float gamma, const AppState& switches,
                const std::vector<LitGroup>& groups, LitVariants* variants) {
    beginLitPass(targets);
    LightSet groupLights = lights;
    bool inputsBound = false;
    for (const LitGroup& group : groups) {
        groupLights.pointCount = group.pointCount;
        groupLights.directionalCount = group.directionalCount;
        applyLightSet(phongProgram, frame.cameraPosition, groupLights, frame.viewProj, group.material, gamma,
                      switches);
        if (!inputsBound) {
            bindLitPassInputs(phongProgram, targets);
            inputsBound = true;
        }
        if (variants != nullptr)
            drawWithReachingLamps(*variants, phongProgram, group, groupLights, targets, frame, gamma,
                                  switches);
        else
            drawVisibleSceneObjects(phongProgram, group.objects, "modelMatrix", frame.viewProj);
    }
    endLitPass();
}
