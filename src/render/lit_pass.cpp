// Prepares the off-screen scene target and the screen-space inputs of the lit programs.
#include "render/lit_pass.hpp"

// Leaves sceneFBO bound, depth test and writes on, blending off and back faces culled; the
// particle pass draws into the same target with this depth buffer.
void beginLitPass(const RenderTargets& targets) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFBO);
    glViewport(0, 0, targets.width, targets.height);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
}

// Leaves unit 0 active.
void bindLitPassInputs(const ShaderProgram& program, const RenderTargets& targets) {
    program.setInt("ssao", 2);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, targets.ssaoColorBufferBlur);
    program.setInt("shadowMap", 3);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, targets.gShadowTexture);
    glActiveTexture(GL_TEXTURE0);
}
