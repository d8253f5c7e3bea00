// Hands the skinned programs what they read before the character script draws with them.
#include "render/character_passes.hpp"

void prepareCharacterShadowDraw(const ShaderProgram& depthSkinnedProgram, const glm::mat4& lightSpaceMatrix) {
    depthSkinnedProgram.use();
    depthSkinnedProgram.setMat4("lightSpaceMatrix", lightSpaceMatrix);
}

void prepareCharacterGeometryDraw(const ShaderProgram& geometrySkinnedProgram, const FrameView& frame,
                                  const LightSet& lights, float gamma, const AppState& switches) {
    applyLightSet(geometrySkinnedProgram, frame.cameraPosition, lights, frame.viewProj, kCharacterMaterial,
                  gamma, switches);
}

// Leaves unit 0 active.
void prepareCharacterLitDraw(const ShaderProgram& phongSkinnedProgram, const RenderTargets& targets,
                             const FrameView& frame, const LightSet& lights, float gamma,
                             const AppState& switches) {
    applyLightSet(phongSkinnedProgram, frame.cameraPosition, lights, frame.viewProj, kCharacterMaterial,
                  gamma, switches);
    phongSkinnedProgram.setInt("ssao", 2);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, targets.ssaoColorBufferBlur);
    glActiveTexture(GL_TEXTURE0);
}
