// Creates the off-screen targets with the formats, filters and attachments the passes rely on.
#include "render/render_targets.hpp"

#include <iostream>
#include <iterator>

namespace {

GLuint createTargetTexture(int width, int height, GLint internalFormat, GLenum format) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return texture;
}

GLuint createDepthStencil(int width, int height) {
    GLuint renderbuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, renderbuffer);
    return renderbuffer;
}

// The passes clear only the attachments they draw each frame; the others (the scene target's
// second, the geometry buffer's unread ones) hold this from the start.
void clearToWhite() {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void reportIfIncomplete(const char* message) {
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        std::cout << message << std::endl;
}

void createSceneTarget(RenderTargets& targets) {
    const int w = targets.width;
    const int h = targets.height;
    glGenFramebuffers(1, &targets.sceneFBO);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFBO);
    targets.sceneColor = createTargetTexture(w, h, GL_RGBA16F, GL_RGBA);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, targets.sceneColor, 0);
    targets.sceneColor1 = createTargetTexture(w, h, GL_RGBA16F, GL_RGBA);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT1, GL_TEXTURE_2D, targets.sceneColor1, 0);
    const GLenum drawBuffers[] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);
    targets.sceneDepthStencil = createDepthStencil(w, h);
    reportIfIncomplete("ERROR::FRAMEBUFFER:: Framebuffer is not complete!");
    targets.staticDepthComplete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    clearToWhite();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void createGeometryBuffer(RenderTargets& targets) {
    const int w = targets.width;
    const int h = targets.height;
    glGenFramebuffers(1, &targets.gBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.gBuffer);
    GLuint* attachments[] = {&targets.gAttachment0, &targets.gNormalTexture,   &targets.gAttachment2,
                             &targets.gAttachment3, &targets.gPositionTexture, &targets.gShadowTexture};
    GLenum drawBuffers[6];
    for (int n = 0; n < 6; ++n) {
        // The shadow term is one number per pixel: stored once, it costs each shaded pixel a store of
        // one half float instead of four on llvmpipe. Sampled, it still reads (s, s, s, 1), exactly as
        // a four-channel target holding the geometry pass's (s, s, s, 1) would.
        if (n == 5) {
            *attachments[n] = createTargetTexture(w, h, GL_R16F, GL_RED);
            const GLint greyOpaque[4] = {GL_RED, GL_RED, GL_RED, GL_ONE};
            glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, greyOpaque);
        } else {
            *attachments[n] = createTargetTexture(w, h, GL_RGBA16F, GL_RGBA);
        }
        // Occlusion samples that fall off screen read the edge position instead of the far side.
        if (n >= 4) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + n, GL_TEXTURE_2D, *attachments[n], 0);
        drawBuffers[n] = GL_COLOR_ATTACHMENT0 + n;
    }
    glDrawBuffers(6, drawBuffers);
    targets.gDepthStencil = createDepthStencil(w, h);
    reportIfIncomplete("ERROR::FRAMEBUFFER:: Framebuffer is not complete!");
    clearToWhite();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void createOcclusionTargets(RenderTargets& targets) {
    GLuint framebuffers[2] = {0, 0};
    glGenFramebuffers(2, framebuffers);
    targets.ssaoFBO = framebuffers[0];
    targets.ssaoBlurFBO = framebuffers[1];

    glBindFramebuffer(GL_FRAMEBUFFER, targets.ssaoFBO);
    targets.ssaoColorBuffer = createTargetTexture(targets.width, targets.height, GL_RED, GL_RED);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, targets.ssaoColorBuffer, 0);
    reportIfIncomplete("SSAO Framebuffer not complete!");

    glBindFramebuffer(GL_FRAMEBUFFER, targets.ssaoBlurFBO);
    targets.ssaoColorBufferBlur = createTargetTexture(targets.width, targets.height, GL_RED, GL_RED);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, targets.ssaoColorBufferBlur,
                           0);
    reportIfIncomplete("SSAO Blur Framebuffer not complete!");
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

} // namespace

RenderTargets createRenderTargets(int width, int height, const ShadowTarget* keptShadow) {
    RenderTargets targets;
    targets.width = width;
    targets.height = height;
    createSceneTarget(targets);
    createGeometryBuffer(targets);
    glGenVertexArrays(1, &targets.quadVAO);
    glBindVertexArray(targets.quadVAO);
    createOcclusionTargets(targets);
    targets.shadow = keptShadow ? *keptShadow : createShadowTarget();
    return targets;
}

void destroyScreenTargets(RenderTargets& targets) {
    const GLuint framebuffers[] = {targets.sceneFBO, targets.gBuffer, targets.ssaoFBO, targets.ssaoBlurFBO};
    const GLuint textures[] = {targets.sceneColor,         targets.sceneColor1,    targets.gAttachment0,
                               targets.gNormalTexture,     targets.gAttachment2,   targets.gAttachment3,
                               targets.gPositionTexture,   targets.gShadowTexture, targets.ssaoColorBuffer,
                               targets.ssaoColorBufferBlur};
    const GLuint renderbuffers[] = {targets.sceneDepthStencil, targets.gDepthStencil};
    // Unbind first, so that no deleted name stays bound anywhere the next frame could reach it.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindVertexArray(0);
    glDeleteFramebuffers(static_cast<GLsizei>(std::size(framebuffers)), framebuffers);
    glDeleteTextures(static_cast<GLsizei>(std::size(textures)), textures);
    glDeleteRenderbuffers(static_cast<GLsizei>(std::size(renderbuffers)), renderbuffers);
    glDeleteVertexArrays(1, &targets.quadVAO);
    const ShadowTarget shadow = targets.shadow;
    targets = RenderTargets{};
    targets.shadow = shadow;
}

void resizeRenderTargets(RenderTargets& targets, int width, int height) {
    const ShadowTarget shadow = targets.shadow;
    destroyScreenTargets(targets);
    targets = createRenderTargets(width, height, &shadow);
}
