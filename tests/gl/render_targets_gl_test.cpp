// The targets every pass relies on: complete framebuffers, the designed formats, sizes, sampling
// state and draw buffers, and the shadow target's border. (The full-screen passes' tests draw with
// the empty vertex array.)
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

namespace {

struct TextureState {
    GLint internalFormat = 0, width = 0, height = 0, minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
};

TextureState queryTexture(GLuint texture) {
    TextureState state;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &state.internalFormat);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &state.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &state.height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &state.minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &state.magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &state.wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &state.wrapT);
    return state;
}

void expectTexture(GLuint texture, GLint internalFormat, GLint minFilter, GLint magFilter, GLint wrap,
                   const char* name) {
    SCOPED_TRACE(name);
    const TextureState state = queryTexture(texture);
    EXPECT_EQ(state.internalFormat, internalFormat);
    EXPECT_EQ(state.width, 1280);
    EXPECT_EQ(state.height, 720);
    EXPECT_EQ(state.minFilter, minFilter);
    EXPECT_EQ(state.magFilter, magFilter);
    EXPECT_EQ(state.wrapS, wrap);
    EXPECT_EQ(state.wrapT, wrap);
}

GLint attachedName(GLuint framebuffer, GLenum attachment) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    GLint name = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                          &name);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return name;
}

std::vector<GLint> drawBuffers(GLuint framebuffer, int count) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    std::vector<GLint> buffers(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        glGetIntegerv(GL_DRAW_BUFFER0 + i, &buffers[static_cast<size_t>(i)]);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return buffers;
}

GLenum statusOf(GLuint framebuffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return status;
}

} // namespace

TEST(RenderTargets, EveryFramebufferIsCompleteAndCreationPrintsNothing) {
    const SharedTargets& shared = sharedTargets();
    const RenderTargets& t = shared.targets;
    EXPECT_EQ(shared.creationOutput, "");
    for (GLuint framebuffer : {t.sceneFBO, t.gBuffer, t.ssaoFBO, t.ssaoBlurFBO, t.shadow.depthMapFBO}) {
        EXPECT_NE(framebuffer, 0u);
        EXPECT_EQ(statusOf(framebuffer), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE)) << framebuffer;
    }
}

TEST(RenderTargets, TexturesHaveTheDesignedFormatsSizesAndSampling) {
    const RenderTargets& t = sharedTargets().targets;
    expectTexture(t.sceneColor, GL_RGBA16F, GL_NEAREST, GL_NEAREST, GL_REPEAT, "sceneColor");
    expectTexture(t.sceneColor1, GL_RGBA16F, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT, "sceneColor1");
    expectTexture(t.gAttachment0, GL_RGBA16F, GL_NEAREST, GL_NEAREST, GL_REPEAT, "gAttachment0");
    expectTexture(t.gNormalTexture, GL_RGBA16F, GL_NEAREST, GL_NEAREST, GL_REPEAT, "gNormalTexture");
    expectTexture(t.gAttachment2, GL_RGBA16F, GL_NEAREST, GL_NEAREST, GL_REPEAT, "gAttachment2");
    expectTexture(t.gAttachment3, GL_RGBA16F, GL_NEAREST, GL_NEAREST, GL_REPEAT, "gAttachment3");
    expectTexture(t.gPositionTexture, GL_RGBA16F, GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE,
                  "gPositionTexture");
    expectTexture(t.gShadowTexture, GL_RGBA16F, GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, "gShadowTexture");
    // Unsized GL_RED: the driver picks the storage, but it must be a single red channel.
    for (GLuint texture : {t.ssaoColorBuffer, t.ssaoColorBufferBlur}) {
        const TextureState state = queryTexture(texture);
        GLint redBits = 0, greenBits = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE, &redBits);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_GREEN_SIZE, &greenBits);
        EXPECT_GT(redBits, 0);
        EXPECT_EQ(greenBits, 0);
        EXPECT_EQ(state.width, 1280);
        EXPECT_EQ(state.height, 720);
        EXPECT_EQ(state.minFilter, GL_NEAREST);
        EXPECT_EQ(state.magFilter, GL_NEAREST);
    }
    for (GLuint renderbuffer : {t.sceneDepthStencil, t.gDepthStencil}) {
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
        GLint format = 0, width = 0, height = 0;
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_INTERNAL_FORMAT, &format);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
        EXPECT_EQ(format, GL_DEPTH24_STENCIL8);
        EXPECT_EQ(width, 1280);
        EXPECT_EQ(height, 720);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

TEST(RenderTargets, AttachmentsAndDrawBuffersPutEachOutputWhereThePassesReadIt) {
    const RenderTargets& t = sharedTargets().targets;
    const GLuint gTextures[6] = {t.gAttachment0, t.gNormalTexture,   t.gAttachment2,
                                 t.gAttachment3, t.gPositionTexture, t.gShadowTexture};
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(attachedName(t.gBuffer, GL_COLOR_ATTACHMENT0 + n), static_cast<GLint>(gTextures[n])) << n;
    EXPECT_EQ(attachedName(t.gBuffer, GL_DEPTH_STENCIL_ATTACHMENT), static_cast<GLint>(t.gDepthStencil));
    EXPECT_EQ(drawBuffers(t.gBuffer, 6),
              (std::vector<GLint>{GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1, GL_COLOR_ATTACHMENT2,
                                  GL_COLOR_ATTACHMENT3, GL_COLOR_ATTACHMENT4, GL_COLOR_ATTACHMENT5}));

    EXPECT_EQ(attachedName(t.sceneFBO, GL_COLOR_ATTACHMENT0), static_cast<GLint>(t.sceneColor));
    EXPECT_EQ(attachedName(t.sceneFBO, GL_COLOR_ATTACHMENT1), static_cast<GLint>(t.sceneColor1));
    EXPECT_EQ(attachedName(t.sceneFBO, GL_DEPTH_STENCIL_ATTACHMENT), static_cast<GLint>(t.sceneDepthStencil));
    EXPECT_EQ(drawBuffers(t.sceneFBO, 2), (std::vector<GLint>{GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1}));

    EXPECT_EQ(attachedName(t.ssaoFBO, GL_COLOR_ATTACHMENT0), static_cast<GLint>(t.ssaoColorBuffer));
    EXPECT_EQ(attachedName(t.ssaoBlurFBO, GL_COLOR_ATTACHMENT0), static_cast<GLint>(t.ssaoColorBufferBlur));
    EXPECT_EQ(drawBuffers(t.ssaoFBO, 1), (std::vector<GLint>{GL_COLOR_ATTACHMENT0}));
}

TEST(ShadowTarget, IsAnEightThousandSquareDepthMapThatReadsFarOutsideTheBox) {
    const ShadowTarget& shadow = sharedTargets().targets.shadow;
    glBindTexture(GL_TEXTURE_2D, shadow.depthMap);
    GLint width = 0, height = 0, depthBits = 0, wrapS = 0, wrapT = 0, minFilter = 0, compareMode = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_DEPTH_SIZE, &depthBits);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compareMode);
    float border[4] = {0, 0, 0, 0};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    EXPECT_EQ(width, kShadowMapSize);
    EXPECT_EQ(height, kShadowMapSize);
    EXPECT_GT(depthBits, 0);
    EXPECT_EQ(wrapS, GL_CLAMP_TO_BORDER);
    EXPECT_EQ(wrapT, GL_CLAMP_TO_BORDER);
    EXPECT_EQ(minFilter, GL_NEAREST);
    EXPECT_EQ(compareMode, GL_NONE);
    for (float channel : border)
        EXPECT_EQ(channel, 1.0f);

    EXPECT_EQ(attachedName(shadow.depthMapFBO, GL_DEPTH_ATTACHMENT), static_cast<GLint>(shadow.depthMap));
    glBindFramebuffer(GL_FRAMEBUFFER, shadow.depthMapFBO);
    GLint drawBuffer = -1, readBuffer = -1;
    glGetIntegerv(GL_DRAW_BUFFER0, &drawBuffer);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(drawBuffer, GL_NONE);
    EXPECT_EQ(readBuffer, GL_NONE);
}
