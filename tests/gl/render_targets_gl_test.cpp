// The targets every pass relies on: complete framebuffers created silently, a depth-only shadow map
// whose border reads as lit, and resizes that keep the shadow target and leak no GL object. What the
// attachments hold is checked by the pass tests, which read them back.
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

TEST(RenderTargets, EveryFramebufferIsCompleteCreatedSilentlyAndTheShadowBorderReadsAsLit) {
    const SharedTargets& shared = sharedTargets();
    const RenderTargets& t = shared.targets;
    EXPECT_EQ(shared.creationOutput, "");
    for (GLuint framebuffer : {t.sceneFBO, t.gBuffer, t.ssaoFBO, t.ssaoBlurFBO, t.shadow.depthMapFBO}) {
        ASSERT_NE(framebuffer, 0u);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE))
            << framebuffer;
    }
    GLint drawBuffer = -1, wrap = 0;
    glGetIntegerv(GL_DRAW_BUFFER0, &drawBuffer); // the shadow map's, bound last: depth only
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(drawBuffer, GL_NONE);
    glBindTexture(GL_TEXTURE_2D, t.shadow.depthMap);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_BORDER);
    float border[4] = {0, 0, 0, 0};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    EXPECT_EQ(border[0], 1.0f);
}

namespace {

// How many names below 2^17 (far above what 300 resizes hand out) are live objects; a leak grows it.
int liveObjects() {
    int count = 0;
    for (GLuint name = 1; name < (1u << 17); ++name)
        count += glIsTexture(name) + glIsFramebuffer(name) + glIsRenderbuffer(name) + glIsVertexArray(name);
    return count;
}

} // namespace

TEST(ResizeTargets, NewSizeCompleteShadowKeptAndNothingLeaksOverAStorm) {
    testWindow();
    // A stand-in for the shadow target, so that the test makes no 8192 x 8192 depth map.
    ShadowTarget keptShadow;
    keptShadow.depthMapFBO = 4242;
    keptShadow.depthMap = 4343;
    RenderTargets targets = createRenderTargets(64, 48, &keptShadow);
    const int live = liveObjects();
    for (int n = 0; n < 300; ++n)
        resizeRenderTargets(targets, 16 + n % 50, 9 + n % 31);
    resizeRenderTargets(targets, 200, 100);
    EXPECT_EQ(liveObjects(), live);

    EXPECT_EQ(targets.width, 200);
    EXPECT_EQ(targets.height, 100);
    EXPECT_EQ(targets.shadow.depthMapFBO, keptShadow.depthMapFBO);
    EXPECT_EQ(targets.shadow.depthMap, keptShadow.depthMap);
    for (GLuint texture : {targets.sceneColor, targets.gPositionTexture, targets.ssaoColorBufferBlur}) {
        GLint width = 0, height = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, 200) << texture;
        EXPECT_EQ(height, 100) << texture;
    }
    for (GLuint framebuffer : {targets.sceneFBO, targets.gBuffer, targets.ssaoFBO, targets.ssaoBlurFBO}) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    }
    destroyScreenTargets(targets);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
