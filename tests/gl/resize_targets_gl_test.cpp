// Resizing the screen-sized targets: the new ones have the new size and are complete, the shadow target
// is kept, and no GL object of the old size survives, however many resizes come one after another.
#include "render/render_targets.hpp"

#include "gl_context.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct TargetNames {
    std::vector<GLuint> textures, framebuffers, renderbuffers, vertexArrays;
};

TargetNames namesOf(const RenderTargets& t) {
    return {{t.sceneColor, t.sceneColor1, t.gAttachment0, t.gNormalTexture, t.gAttachment2, t.gAttachment3,
             t.gPositionTexture, t.gShadowTexture, t.ssaoColorBuffer, t.ssaoColorBufferBlur},
            {t.sceneFBO, t.gBuffer, t.ssaoFBO, t.ssaoBlurFBO, t.staticDepthFBO},
            {t.sceneDepthStencil, t.gDepthStencil, t.staticDepthStencil},
            {t.quadVAO}};
}

// How many names below `limit` are live objects of each kind; a leak shows as a count that grows.
int liveObjects(GLuint limit) {
    int count = 0;
    for (GLuint name = 1; name < limit; ++name)
        count += glIsTexture(name) + glIsFramebuffer(name) + glIsRenderbuffer(name) + glIsVertexArray(name);
    return count;
}

GLint textureSize(GLuint texture, GLenum which) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    return value;
}

bool contains(const std::vector<GLuint>& names, GLuint name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A stand-in for the shadow target, so that these tests do not make 8192 x 8192 depth maps.
const ShadowTarget keptShadow{4242, 4343};

} // namespace

TEST(ResizeTargets, NewTargetsHaveTheNewSizeAndTheOldOnesAreGone) {
    testWindow();
    RenderTargets targets = createRenderTargets(64, 48, &keptShadow);
    const TargetNames old = namesOf(targets);
    resizeRenderTargets(targets, 200, 100);
    const TargetNames fresh = namesOf(targets);

    EXPECT_EQ(targets.width, 200);
    EXPECT_EQ(targets.height, 100);
    EXPECT_EQ(targets.shadow.depthMapFBO, keptShadow.depthMapFBO);
    EXPECT_EQ(targets.shadow.depthMap, keptShadow.depthMap);
    for (GLuint texture : fresh.textures) {
        EXPECT_EQ(textureSize(texture, GL_TEXTURE_WIDTH), 200) << texture;
        EXPECT_EQ(textureSize(texture, GL_TEXTURE_HEIGHT), 100) << texture;
    }
    for (GLuint framebuffer : fresh.framebuffers) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // A name may be handed out again, but then it must belong to the new targets.
    for (GLuint name : old.textures)
        EXPECT_TRUE(!glIsTexture(name) || contains(fresh.textures, name)) << name;
    for (GLuint name : old.framebuffers)
        EXPECT_TRUE(!glIsFramebuffer(name) || contains(fresh.framebuffers, name)) << name;
    for (GLuint name : old.renderbuffers)
        EXPECT_TRUE(!glIsRenderbuffer(name) || contains(fresh.renderbuffers, name)) << name;
    for (GLuint name : old.vertexArrays)
        EXPECT_TRUE(!glIsVertexArray(name) || contains(fresh.vertexArrays, name)) << name;
    destroyScreenTargets(targets);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ResizeTargets, AStormOfResizesLeavesAsManyObjectsAsOne) {
    testWindow();
    RenderTargets targets = createRenderTargets(32, 32, &keptShadow);
    resizeRenderTargets(targets, 40, 30);
    // Far above the names 300 resizes hand out, whether the driver reuses names or counts on.
    const GLuint scanLimit = 1u << 17;
    const int before = liveObjects(scanLimit);
    for (int n = 0; n < 300; ++n)
        resizeRenderTargets(targets, 16 + n % 50, 9 + n % 31);
    EXPECT_EQ(liveObjects(scanLimit), before);
    EXPECT_EQ(targets.width, 16 + 299 % 50);
    EXPECT_EQ(targets.height, 9 + 299 % 31);
    destroyScreenTargets(targets);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
