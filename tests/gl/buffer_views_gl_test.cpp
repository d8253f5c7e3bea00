// The depth buffer view on a real context: it linearises the geometry buffer's depth and follows
// render targets that were made anew at another size. (The panel is seen on the viewer's window by
// the panel script, which checks that it changes nothing outside its rectangle.)
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
