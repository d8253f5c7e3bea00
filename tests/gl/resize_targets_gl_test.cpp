// Resizing the screen-sized targets: the new ones have the new size and are complete, the shadow target
// is kept, and no GL object of an old size survives, however many resizes come one after another.
#include "render/render_targets.hpp"

#include "gl_context.hpp"

#include <gtest/gtest.h>

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
    for (GLuint framebuffer :
         {targets.sceneFBO, targets.gBuffer, targets.ssaoFBO, targets.ssaoBlurFBO, targets.staticDepthFBO}) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    }
    destroyScreenTargets(targets);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
