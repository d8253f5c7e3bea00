// Shows the frame: a full-screen copy of sceneColor into the window's framebuffer.
#include "render/final_pass.hpp"

// Leaves framebuffer 0 bound for drawing, depth test, stencil test and blending off, colorProgram current,
// quadVAO bound and sceneColor on unit 0; the shadow pass of the next frame turns depth testing on.
void runFinalPass(const ShaderProgram& colorProgram, const RenderTargets& targets) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, targets.width, targets.height);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    colorProgram.use();
    glBindVertexArray(targets.quadVAO);
    glDisable(GL_DEPTH_TEST);
    // The window's framebuffer may have a stencil buffer of its own, with nothing defined in it.
    glDisable(GL_STENCIL_TEST);
    // The particles blend into the scene target; the copy itself must not blend with the clear.
    glDisable(GL_BLEND);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, targets.sceneColor);
    glDrawArrays(GL_TRIANGLES, 0, 6);
}
