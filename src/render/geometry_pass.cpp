// Prepares the geometry buffer and its program for the frame's static and skinned draws.
#include "render/geometry_pass.hpp"

// A raw copy of the depth-stencil storage: no conversion to and from floating point, so the copy
// holds the geometry pass's depth values bit for bit on any driver (a depth blit may be done by a
// shader and round on the way). It goes straight into the scene target, which no pass touches
// before the lit pass: one copy, and one wait for the static draws, per frame. Leaves gBuffer
// bound for drawing.
void keepStaticDepth(const RenderTargets& targets) {
    if (!targets.staticDepthComplete)
        return;
    glCopyImageSubData(targets.gDepthStencil, GL_RENDERBUFFER, 0, 0, 0, 0, targets.sceneDepthStencil,
                       GL_RENDERBUFFER, 0, 0, 0, 0, targets.width, targets.height, 1);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, targets.gBuffer);
}

// Leaves gBuffer bound for drawing, the window-sized viewport (kept by every later pass), depth test
// (GL_LESS) and writes on, stencil test and blending off, back faces culled, geometryProgram current,
// depthMap on unit 2 and unit 0 active.
void beginGeometryPass(const ShaderProgram& geometryProgram, const RenderTargets& targets,
                       const glm::mat4& lightSpaceMatrix, const FrameView& frame, bool storeMaterial) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, targets.width, targets.height);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, targets.gBuffer);
    // Only the attachments this frame draws are cleared (white, so that uncovered pixels read
    // (1, 1, 1, 1)) and then drawn: normal, position and shadow term, which later passes read, and the
    // mesh textures while a buffer view shows them. On llvmpipe every attachment cleared or written
    // costs each pixel a store of four half floats; the others keep what they last held, which no
    // pass reads (attachment 3, never drawn, stays white from its creation).
    const GLenum material = storeMaterial ? GL_COLOR_ATTACHMENT0 : GL_NONE;
    const GLenum baked = storeMaterial ? GL_COLOR_ATTACHMENT2 : GL_NONE;
    const GLenum drawn[6] = {material, GL_COLOR_ATTACHMENT1, baked,
                             GL_NONE,  GL_COLOR_ATTACHMENT4, GL_COLOR_ATTACHMENT5};
    glDrawBuffers(6, drawn);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    // The stencil is cleared with the depth (one fill of the packed depth-stencil words); the lit
    // pass receives it zeroed through the depth copies and needs no clear of its own.
    glClearStencil(0);
    glStencilMask(0xFF);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    // The lit pass of the previous frame left GL_LEQUAL; its stencil test is off again already, but
    // a stray one would drop fragments here.
    glDepthFunc(GL_LESS);
    glDisable(GL_STENCIL_TEST);
    // Blending would mix positions and normals with the white clear.
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);

    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, targets.shadow.depthMap);
    glActiveTexture(GL_TEXTURE0);
    setGeometryUniforms(geometryProgram, lightSpaceMatrix, frame);
}

void setGeometryUniforms(const ShaderProgram& geometryProgram, const glm::mat4& lightSpaceMatrix,
                         const FrameView& frame) {
    geometryProgram.use();
    geometryProgram.setInt("shadowMap", 2);
    geometryProgram.setMat4("lightSpaceMatrix", lightSpaceMatrix);
    geometryProgram.setMat4("projection", frame.projection);
    geometryProgram.setMat4("view", frame.view);
    geometryProgram.setMat4("viewProjMatrix", frame.viewProj);
    geometryProgram.setVec3("lightPos", kShadowLightPosition);
    geometryProgram.setVec3("viewPos", frame.cameraPosition);
}
