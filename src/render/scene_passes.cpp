// Draws the static scene objects through the shadow, geometry-buffer and lit passes.
#include "render/scene_passes.hpp"

#include "model/model.hpp"
#include "render/geometry_pass.hpp"
#include "render/lit_pass.hpp"
#include "render/shadow_map.hpp"

void drawSceneObjects(const ShaderProgram& program, const std::vector<SceneObject>& objects,
                      const char* matrixName) {
    for (const SceneObject& object : objects) {
        if (object.model == nullptr)
            continue;
        program.setMat4(matrixName, object.matrix);
        object.model->draw();
    }
}

void runShadowPass(const ShaderProgram& depthProgram, const RenderTargets& targets,
                   const glm::mat4& lightSpaceMatrix, const std::vector<SceneObject>& objects) {
    beginShadowPass(depthProgram, targets.shadow, lightSpaceMatrix);
    drawSceneObjects(depthProgram, objects, "model");
}

void runGeometryPass(const ShaderProgram& geometryProgram, const RenderTargets& targets,
                     const glm::mat4& lightSpaceMatrix, const FrameView& frame,
                     const std::vector<SceneObject>& objects) {
    beginGeometryPass(geometryProgram, targets, lightSpaceMatrix, frame);
    drawSceneObjects(geometryProgram, objects, "model");
    keepStaticDepth(targets);
}

void runLitPass(const ShaderProgram& phongProgram, const RenderTargets& targets, const FrameView& frame,
                const LightSet& lights, float gamma, const AppState& switches,
                const std::vector<LitGroup>& groups) {
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
        drawSceneObjects(phongProgram, group.objects, "modelMatrix");
    }
    endLitPass();
}
