// The targets every pass relies on: complete framebuffers created silently, a depth-only shadow map
// whose border reads as lit. What the attachments hold is checked by the pass tests, which read them.
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
