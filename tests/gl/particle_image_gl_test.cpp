// The picture of the particle pass: smoke from an emitter with scene emitter C's values shows above
// it over a dark target, leaves the rest of the target and its depth untouched, and hides behind
// nearer depth.
#include "particle_test_support.hpp"
#include "particles/particle_pass.hpp"

#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr int width = 160;
constexpr int height = 120;
const glm::vec4 clearColour(0.02f, 0.02f, 0.05f, 1.0f);

struct Target {
    GLuint framebuffer = 0;
    GLuint colour[2] = {};
    GLuint depth = 0;
};

// Same shape as the scene target the pass draws into: two half-float colour attachments.
Target makeTarget() {
    Target target;
    glGenFramebuffers(1, &target.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glGenTextures(2, target.colour);
    for (int k = 0; k < 2; ++k) {
        glBindTexture(GL_TEXTURE_2D, target.colour[k]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + k, GL_TEXTURE_2D, target.colour[k], 0);
    }
    const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);
    glGenRenderbuffers(1, &target.depth);
    glBindRenderbuffer(GL_RENDERBUFFER, target.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, target.depth);
    glViewport(0, 0, width, height);
    return target;
}

// Clears colour, and depth to farDepth; the left half's depth to nearDepth when an occluder is wanted.
void clearTarget(bool occludeLeftHalf) {
    glClearColor(clearColour.r, clearColour.g, clearColour.b, clearColour.a);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (occludeLeftHalf) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, width / 2, height);
        glClearDepth(0.0);
        glClear(GL_DEPTH_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glClearDepth(1.0);
    }
}

struct Picture {
    std::vector<glm::vec4> pixels;
    std::vector<float> depth;
    glm::vec4 at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    // Mean brightness gain over the clear colour in [x0, x1) × [y0, y1).
    float gain(int x0, int x1, int y0, int y1) const {
        float sum = 0.0f;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                sum += glm::dot(glm::vec3(at(x, y) - clearColour), glm::vec3(1.0f / 3.0f));
        return sum / static_cast<float>((x1 - x0) * (y1 - y0));
    }
    bool untouched(int x0, int x1, int y0, int y1) const {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (glm::any(glm::greaterThan(glm::abs(at(x, y) - clearColour), glm::vec4(1e-3f))))
                    return false;
        return true;
    }
};

Picture readPicture(GLenum attachment = GL_COLOR_ATTACHMENT0) {
    Picture picture;
    picture.pixels.resize(width * height);
    picture.depth.resize(width * height);
    glReadBuffer(attachment);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, picture.pixels.data());
    glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, GL_FLOAT, picture.depth.data());
    return picture;
}

} // namespace

// The emitter sits at pixel row ~39 (3 units below the view's centre); smoke rises above it. The
// left half of the target holds nearer depth, which hides the smoke there.
TEST(ParticleImageGl, SmokeShowsAboveTheEmitterAndNowhereElse) {
    SpriteDirectory sprites;
    sprites.writeAll(32, 32, true);
    const ParticlePrograms programs = buildParticlePrograms();
    const Target target = makeTarget();
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    ::testing::internal::CaptureStdout();
    // Scene emitter C, standing at the origin of this little world.
    std::vector<ParticleSystem> emitters{ParticleSystem(
        programs.compute.id, programs.render.id, 50000, 15, glm::vec3(0.0f, 0.3f, 0.0f), 20.0f,
        glm::vec3(0.01f, 0.0f, -0.03f), 3.0f, 0.2f, 3.0f, 0.2f, 2.0f, 5.0f, glm::vec3(0.0f), 25.0)};
    ::testing::internal::GetCapturedStdout();
    const glm::mat4 view =
        glm::lookAt(glm::vec3(0.0f, 3.0f, 14.0f), glm::vec3(0.0f, 3.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 projection =
        glm::perspective(glm::radians(60.0f), static_cast<float>(width) / height, 0.1f, 250.0f);

    clearTarget(false);
    runParticlePass(emitters, {}, view, projection, 1.0 / 30.0);
    EXPECT_TRUE(readPicture().untouched(0, width, 0, height));
    for (int step = 0; step < 300; ++step) { // 10 s at 30 steps a second, drawing every frame
        clearTarget(true);
        runParticlePass(emitters, {glm::mat4(1.0f)}, view, projection, 1.0 / 30.0);
    }
    const Picture smoke = readPicture();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_GT(emitters[0].liveCount, 2000);
    EXPECT_GT(smoke.gain(width / 2, 100, 45, 80), 0.03f);
    EXPECT_TRUE(smoke.untouched(0, width / 2, 0, height));
    EXPECT_TRUE(smoke.untouched(width - 20, width, 100, height));
    EXPECT_TRUE(smoke.untouched(0, width, 0, 10));
    for (size_t i = 0; i < smoke.depth.size(); ++i)
        ASSERT_EQ(smoke.depth[i], i % width < width / 2 ? 0.0f : 1.0f) << "the particle pass wrote depth";
    // Sprites only have a colour for the first attachment; the second keeps what the scene wrote.
    EXPECT_TRUE(readPicture(GL_COLOR_ATTACHMENT1).untouched(0, width, 0, height));

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLboolean writable[4] = {};
    glGetBooleani_v(GL_COLOR_WRITEMASK, 1, writable);
    EXPECT_TRUE(writable[0] && writable[1] && writable[2] && writable[3]);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &target.framebuffer);
    glDeleteTextures(2, target.colour);
    glDeleteRenderbuffers(1, &target.depth);
}
