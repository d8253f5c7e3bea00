// Back-buffer read-back and PNG writing through stb_image_write. The read restores every piece of GL
// state it changes, so it can run between any two passes.
#include "app/screenshot.hpp"

#include <stb_image_write.h>

#include <algorithm>
#include <iostream>

void flipRows(std::vector<unsigned char>& pixels, int width, int height, int bytesPerPixel) {
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(
            pixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<size_t>(top)),
            pixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<size_t>(top + 1)),
            pixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<size_t>(bottom)));
}

std::vector<unsigned char> readBackBuffer(int width, int height) {
    GLint readFramebuffer = 0;
    GLint readBuffer = 0;
    GLint packAlignment = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glReadBuffer(GL_BACK);
    // Rows of 3-byte pixels are not 4-byte aligned for most widths.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);

    std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    glReadBuffer(static_cast<GLenum>(readBuffer));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));

    flipRows(pixels, width, height, 3);
    return pixels;
}

bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& pixels) {
    return stbi_write_png(path.c_str(), width, height, 3, pixels.data(), width * 3) != 0;
}

bool writeScreenshot(const std::string& path, int width, int height) {
    if (!writePng(path, width, height, readBackBuffer(width, height))) {
        std::cerr << "Could not write screenshot " << path << "; the run goes on without it." << std::endl;
        return false;
    }
    return true;
}
