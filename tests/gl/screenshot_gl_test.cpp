// Screenshots read the window's back buffer and come out upright, without disturbing the read state
// the passes rely on.
#include "app/screenshot.hpp"
#include "gl_context.hpp"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <string>

namespace {

// Top half red, bottom half blue, in the window's back buffer.
void paintTopRedBottomBlue(int width, int height) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, height / 2, width, height - height / 2);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, 0, width, height / 2);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

} // namespace

// The passes leave another read framebuffer and pack alignment behind; both come back afterwards.
TEST(Screenshot, ComesOutUprightWithOddWidthsAndRestoresTheReadState) {
    paintTopRedBottomBlue(64, 64);
    GLuint target = 0;
    glGenFramebuffers(1, &target);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    // 3-byte pixels in a 63-pixel row are not 4-byte aligned; a wrong pack alignment shears the image.
    const std::string path = ::testing::TempDir() + "screenshot_odd.png";
    ASSERT_TRUE(writeScreenshot(path, 63, 63));
    GLint bound = 0, alignment = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &bound);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(static_cast<GLuint>(bound), target);
    EXPECT_EQ(alignment, 8);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glDeleteFramebuffers(1, &target);

    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &w, &h, &channels, 3);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(w, 63);
    EXPECT_EQ(h, 63);
    // Red on top: the first rows of the file are the window's top rows.
    for (int y : {0, 30, 33, 62}) {
        const unsigned char* rowEnd = pixels + (static_cast<size_t>(y) * 63 + 62) * 3;
        EXPECT_EQ(rowEnd[0], y < 31 ? 255 : 0) << y;
    }
    stbi_image_free(pixels);
}
