// The render targets every pass relies on: complete framebuffers created silently, a depth-only shadow
// map whose border reads as lit (what the attachments hold is checked by the pass tests, which read
// them), and the depth buffer view, which linearises the geometry buffer's depth and follows targets
// made anew at another size. (The panel is seen on the viewer's window by the panel script, which
// checks that it changes nothing outside its rectangle.)
#include "render/buffer_views.hpp"
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Reads one pixel of the bound draw framebuffer's window, counted from the bottom left.
std::vector<unsigned char> windowPixel(int x, int y) {
    std::vector<unsigned char> rgba(4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

void clearGeometryDepth(const RenderTargets& targets, double depth) {
    glBindFramebuffer(GL_FRAMEBUFFER, targets.gBuffer);
    glDepthMask(GL_TRUE);
    glClearDepth(depth);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
}

} // namespace

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

TEST(BufferViewsGl, DepthViewLinearisesDepthAndFollowsNewTargets) {
    BufferViews views = createBufferViews(std::string(sourceDir()) + "/assets/shaders/");
    const RenderTargets& first = sharedTargets().targets;
    // Depth 0.999 of the 0.1 ... 250 projection lies 71.4 units out; the view shows 100 units as white.
    clearGeometryDepth(first, 0.999);
    runViewPass(testPrograms().color, views, first, BufferView::depth);
    ASSERT_NE(views.program.id, 0u);
    EXPECT_NEAR(windowPixel(10, 10)[0], 0.714 * 255.0, 2.0);
    EXPECT_EQ(views.depthCopyWidth, first.width);

    ::testing::internal::CaptureStdout();
    const RenderTargets second = createRenderTargets(48, 27);
    ::testing::internal::GetCapturedStdout();
    clearGeometryDepth(second, 1.0);
    runViewPass(testPrograms().color, views, second, BufferView::depth);
    EXPECT_EQ(views.depthCopyWidth, 48);
    EXPECT_EQ(views.depthCopyHeight, 27);
    EXPECT_EQ(windowPixel(10, 10)[0], 255);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // The pass leaves what the final pass leaves.
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint drawFramebuffer = -1;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
    EXPECT_EQ(drawFramebuffer, 0);
}
