// libFuzzer harness for the texture loading path: each input is taken as the bytes of an image file,
// decoded as textureFromFile decodes a file's bytes (table and header checks, stb_image, channel count
// to pixel format) and uploaded as a mipmapped texture into a hidden OpenGL context (run it under
// Xvfb). Beyond the sanitizers, it traps when a decoded image breaks the decoder's promises or its
// upload raises a GL error.
#include "model/texture_image.hpp"

#include <GLFW/glfw3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Well below the context's limit: the header check is the same code at any limit, and small images
// keep every run fast (a large limit would spend the fuzzing time decoding padding).
constexpr int fuzzMaxDimension = 1024;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!glfwInit()) {
        std::fprintf(stderr, "texture_fuzzer needs a display (run it under Xvfb)\n");
        std::exit(1);
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(16, 16, "texture fuzzer", nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "texture_fuzzer could not open an OpenGL 4.3 context\n");
        std::exit(1);
    }
    glfwMakeContextCurrent(window);
    gladLoadGL(glfwGetProcAddress);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedImage image = decodeImage(data, size, fuzzMaxDimension);
    if (!image.pixels)
        return 0;
    if (image.width < 1 || image.height < 1 || image.width > fuzzMaxDimension ||
        image.height > fuzzMaxDimension || image.format == 0 ||
        image.format != pixelFormatForChannels(image.channels))
        __builtin_trap();
    // Every decoded byte is read once, so a short pixel buffer shows up as an ASan report here rather
    // than as silent garbage in the driver.
    const size_t bytes = static_cast<size_t>(image.width) * image.height * image.channels;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i)
        sum += image.pixels[i];
    asm volatile("" : : "r"(sum));

    GLuint texture = 0;
    glGenTextures(1, &texture);
    uploadMipmappedTexture(texture, image);
    const GLenum error = glGetError();
    glDeleteTextures(1, &texture);
    releaseImage(image);
    if (error != GL_NO_ERROR)
        __builtin_trap();
    return 0;
}
