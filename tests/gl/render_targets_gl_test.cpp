// The targets every pass relies on: complete framebuffers created silently, storage that keeps what the
// passes write (positions and normals need floats, occlusion one channel), and a shadow map whose
// border reads as lit far outside the light's box. Where each output lands is checked by the pass tests,
// which read the attachments back.
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

namespace {

GLint levelParameter(GLuint texture, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
}

GLint parameter(GLuint texture, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

} // namespace

TEST(RenderTargets, EveryFramebufferIsCompleteAndCreationPrintsNothing) {
    const SharedTargets& shared = sharedTargets();
    const RenderTargets& t = shared.targets;
    EXPECT_EQ(shared.creationOutput, "");
    for (GLuint framebuffer : {t.sceneFBO, t.gBuffer, t.ssaoFBO, t.ssaoBlurFBO, t.shadow.depthMapFBO}) {
        ASSERT_NE(framebuffer, 0u);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE))
            << framebuffer;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST(RenderTargets, ScreenSizedTexturesHoldFloatsOrOneChannelWithoutFiltering) {
    const RenderTargets& t = sharedTargets().targets;
    for (GLuint texture : {t.sceneColor, t.gAttachment0, t.gNormalTexture, t.gAttachment2, t.gAttachment3,
                           t.gPositionTexture, t.gShadowTexture}) {
        SCOPED_TRACE(texture);
        EXPECT_EQ(levelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA16F);
        EXPECT_EQ(levelParameter(texture, GL_TEXTURE_WIDTH), 1280);
        EXPECT_EQ(levelParameter(texture, GL_TEXTURE_HEIGHT), 720);
        EXPECT_EQ(parameter(texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    }
    // Positions are sampled at the screen's edges by the occlusion pass: they must not wrap around.
    EXPECT_EQ(parameter(t.gPositionTexture, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    for (GLuint texture : {t.ssaoColorBuffer, t.ssaoColorBufferBlur}) {
        EXPECT_GT(levelParameter(texture, GL_TEXTURE_RED_SIZE), 0);
        EXPECT_EQ(levelParameter(texture, GL_TEXTURE_GREEN_SIZE), 0);
        EXPECT_EQ(parameter(texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    }
}

TEST(ShadowTarget, IsASquareDepthMapWhoseBorderReadsAsLit) {
    const ShadowTarget& shadow = sharedTargets().targets.shadow;
    EXPECT_EQ(levelParameter(shadow.depthMap, GL_TEXTURE_WIDTH), kShadowMapSize);
    EXPECT_EQ(levelParameter(shadow.depthMap, GL_TEXTURE_HEIGHT), kShadowMapSize);
    EXPECT_GT(levelParameter(shadow.depthMap, GL_TEXTURE_DEPTH_SIZE), 0);
    EXPECT_EQ(parameter(shadow.depthMap, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_BORDER);
    EXPECT_EQ(parameter(shadow.depthMap, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_BORDER);
    EXPECT_EQ(parameter(shadow.depthMap, GL_TEXTURE_COMPARE_MODE), GL_NONE);
    float border[4] = {0, 0, 0, 0};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    for (float channel : border)
        EXPECT_EQ(channel, 1.0f);
    // A depth-only framebuffer: no colour buffer to draw into or read from.
    glBindFramebuffer(GL_FRAMEBUFFER, shadow.depthMapFBO);
    GLint drawBuffer = -1;
    glGetIntegerv(GL_DRAW_BUFFER0, &drawBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(drawBuffer, GL_NONE);
}
