// The panel and the buffer views on a real context: the panel draws in a 160 x 90 window without GL
// errors and hands back the state it found; the depth view linearises the geometry buffer's depth and
// follows render targets that were made anew at another size.
#include "app/hud.hpp"
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

TEST(Panel, DrawsInATinyWindowWithoutErrorsAndRestoresTheState) {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* tiny = glfwCreateWindow(160, 90, "panel test", nullptr, testWindow());
    ASSERT_NE(tiny, nullptr);
    glfwMakeContextCurrent(tiny);

    GLuint vao = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glViewport(0, 0, 160, 90);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }

    Hud hud;
    startHud(hud, tiny, true, BufferView::lit);
    SkippedPasses skip;
    // Two frames: the first lays the panel out, the second draws it at its settled size.
    for (int frame = 0; frame < 2; ++frame) {
        beginHudFrame(hud, nullptr, skip, 123);
        drawHud(hud);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // The panel's title bar covers the top left; the rest of the window stays black beside it.
    const std::vector<unsigned char> title = windowPixel(40, 90 - 14);
    EXPECT_GT(title[0] + title[1] + title[2], 60) << "no panel at the top left";
    GLint boundVao = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &boundVao);
    EXPECT_EQ(static_cast<GLuint>(boundVao), vao);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 160);
    EXPECT_EQ(viewport[3], 90);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    // The switches write the skip flags they were given, nothing else; untouched, they stay as given.
    EXPECT_FALSE(skip.occlusion);

    stopHud(hud);
    glDeleteVertexArrays(1, &vao);
    glfwMakeContextCurrent(testWindow());
    glfwDestroyWindow(tiny);
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
