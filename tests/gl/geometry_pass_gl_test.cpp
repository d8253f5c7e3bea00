// The shadow and geometry-buffer passes on the test scene: white clears, view-space position and
// normal, a shadow term that is dark where the floating box hides the ground from the light, free of
// acne on lit surfaces and attached at contacts; the character's programs write the same geometry
// with a shadow term of 1 and cast the same shadow.
#include "render/character_passes.hpp"
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kChannels = 4;

// What the passes' samplers read: the stored channels through the texture's swizzle (the shadow
// term is stored in one channel and read as grey).
std::vector<float> readAttachment(const RenderTargets& t, GLuint texture) {
    std::vector<float> pixels = readTexture(texture, GL_RGBA, kChannels, t.width, t.height);
    GLint swizzle[kChannels] = {};
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    for (size_t i = 0; i < pixels.size(); i += kChannels) {
        // GL_RED to GL_ALPHA are consecutive; then GL_ZERO and GL_ONE.
        const float stored[kChannels + 2] = {pixels[i],     pixels[i + 1], pixels[i + 2],
                                             pixels[i + 3], 0.0f,          1.0f};
        for (size_t c = 0; c < kChannels; ++c)
            pixels[i + c] = stored[swizzle[c] == GL_ZERO  ? 4
                                   : swizzle[c] == GL_ONE ? 5
                                                          : swizzle[c] - GL_RED];
    }
    return pixels;
}

float minimumAround(const std::vector<float>& pixels, int width, glm::ivec2 center, int r) {
    float smallest = 1.0f;
    for (int y = center.y - r; y <= center.y + r; ++y)
        for (int x = center.x - r; x <= center.x + r; ++x)
            smallest = std::min(
                smallest,
                pixels[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                       kChannels]);
    return smallest;
}

glm::vec4 texel(const std::vector<float>& pixels, int width, glm::ivec2 p) {
    const size_t i =
        (static_cast<size_t>(p.y) * static_cast<size_t>(width) + static_cast<size_t>(p.x)) * kChannels;
    return glm::vec4(pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]);
}

} // namespace

// One render of the test scene: what the pass clears, the position, normal and shadow term it writes,
// and the character's geometry program writing the same with a shadow term of 1.
TEST(GeometryPass, ClearsWhatItDrawsAndWritesPositionNormalAndAShadowTermFreeOfAcne) {
    // All six start white, so that the ones no frame draws read white in the buffer views.
    RenderTargets fresh = createRenderTargets(64, 48);
    const GLuint freshSix[6] = {fresh.gAttachment0, fresh.gNormalTexture,   fresh.gAttachment2,
                                fresh.gAttachment3, fresh.gPositionTexture, fresh.gShadowTexture};
    for (GLuint attachment : freshSix) {
        const std::vector<float> pixels = readAttachment(fresh, attachment);
        EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](float v) { return v == 1.0f; }))
            << attachment;
    }
    destroyScreenTargets(fresh);

    const RenderTargets& t = sharedTargets().targets;
    const FrameView frame = testFrameView(t);
    const GLuint attachments[6] = {t.gAttachment0, t.gNormalTexture,   t.gAttachment2,
                                   t.gAttachment3, t.gPositionTexture, t.gShadowTexture};
    const glm::vec4 dirt(0.25f, 0.5f, 0.75f, 0.0f);
    for (bool storeMaterial : {false, true}) {
        SCOPED_TRACE(storeMaterial);
        // Dirty every attachment first, so that only the pass's own clear can make one white.
        glBindFramebuffer(GL_FRAMEBUFFER, t.gBuffer);
        const GLenum allSix[6] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1, GL_COLOR_ATTACHMENT2,
                                  GL_COLOR_ATTACHMENT3, GL_COLOR_ATTACHMENT4, GL_COLOR_ATTACHMENT5};
        glDrawBuffers(6, allSix);
        glClearColor(dirt.r, dirt.g, dirt.b, dirt.a);
        glClear(GL_COLOR_BUFFER_BIT);
        beginGeometryPass(testPrograms().geometry, t, computeLightSpaceMatrix(), frame, storeMaterial);
        // Normal, position and shadow term always; albedo and baked light only while a view shows
        // them; attachment 3 never.
        const bool drawn[6] = {storeMaterial, true, storeMaterial, false, true, true};
        for (int n = 0; n < 6; ++n) {
            const glm::vec4 expected = drawn[n] ? glm::vec4(1.0f) : dirt;
            const std::vector<float> pixels = readAttachment(t, attachments[n]);
            EXPECT_EQ(texel(pixels, t.width, {0, 0}), expected) << n;
            EXPECT_EQ(texel(pixels, t.width, {t.width - 1, t.height - 1}), expected) << n;
        }
    }

    renderShadowAndGeometry(t, frame);
    const glm::ivec2 sky(20, t.height - 20);
    for (int n : {1, 4, 5})
        EXPECT_EQ(texel(readAttachment(t, attachments[n]), t.width, sky), glm::vec4(1.0f)) << n;

    // Covered pixels hold the view-space position and normal of the ground.
    const glm::ivec2 ground = pixelOf(frame, t, kOpenGroundPoint);
    const std::vector<float> staticPosition = readAttachment(t, t.gPositionTexture);
    const std::vector<float> staticNormal = readAttachment(t, t.gNormalTexture);
    const glm::vec3 expected = glm::vec3(frame.view * glm::vec4(kOpenGroundPoint, 1.0f));
    EXPECT_LT(glm::length(glm::vec3(texel(staticPosition, t.width, ground)) - expected), 0.1f);
    const glm::vec3 up = glm::mat3(frame.view) * glm::vec3(0.0f, 1.0f, 0.0f);
    EXPECT_GT(glm::dot(glm::vec3(texel(staticNormal, t.width, ground)), up), 0.99f);

    // The shadow term is dark behind the floating box and cleanly lit elsewhere.
    const std::vector<float> staticShadow = readAttachment(t, t.gShadowTexture);
    EXPECT_LT(meanAround(staticShadow, kChannels, 0, t.width, pixelOf(frame, t, kShadowedGroundPoint), 3),
              0.05f);
    // Acne would show as dark specks on lit surfaces: the open ground (lit at a slant), the top and
    // the light-facing front of the resting box must be fully lit, pixel by pixel.
    EXPECT_GE(minimumAround(staticShadow, t.width, pixelOf(frame, t, kOpenGroundPoint), 12), 0.99f);
    EXPECT_GE(minimumAround(staticShadow, t.width, pixelOf(frame, t, glm::vec3(0.0f, 2.0f, 0.0f)), 6), 0.99f);
    EXPECT_GE(minimumAround(staticShadow, t.width, pixelOf(frame, t, glm::vec3(0.0f, 1.0f, 1.0f)), 6), 0.99f);
    // Faces turned from the light are in shadow.
    EXPECT_EQ(minimumAround(staticShadow, t.width, pixelOf(frame, t, glm::vec3(6.8f, 3.0f, 0.0f)), 1), 0.0f);

    // The same meshes, without bone weights, through the character's program and preparation.
    const ShaderProgram skinned = testPrograms().geometrySkinned;
    ASSERT_NE(skinned.id, 0u);
    beginGeometryPass(testPrograms().geometry, t, computeLightSpaceMatrix(), frame);
    prepareCharacterGeometryDraw(skinned, frame, lampAndMoon(), 2.0f, AppState{});
    testScene().draw(skinned, "modelMatrix");
    const std::vector<float> position = readAttachment(t, t.gPositionTexture);
    const std::vector<float> normal = readAttachment(t, t.gNormalTexture);
    const std::vector<float> shadow = readAttachment(t, t.gShadowTexture);

    for (glm::vec3 point :
         {kOpenGroundPoint, kShadowedGroundPoint, kCreasePoint, glm::vec3(0.0f, 1.0f, 1.0f)}) {
        const glm::ivec2 p = pixelOf(frame, t, point);
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        const glm::vec4 a = texel(staticPosition, t.width, p), b = texel(position, t.width, p);
        EXPECT_LT(glm::length(glm::vec3(a) - glm::vec3(b)), 0.02f);
        EXPECT_GT(glm::dot(glm::vec3(texel(staticNormal, t.width, p)), glm::vec3(texel(normal, t.width, p))),
                  0.999f);
        EXPECT_EQ(texel(shadow, t.width, p).x, 1.0f);
    }
}

TEST(GeometryPass, ContactShadowsStayAttachedToTheirCaster) {
    const RenderTargets& t = sharedTargets().targets;
    // Look at the thin wall's side that the light does not reach, where its shadow meets its foot.
    FrameView frame = testFrameView(t);
    frame.cameraPosition = glm::vec3(-8.0f, 3.0f, 0.0f);
    frame.view =
        glm::lookAt(frame.cameraPosition, glm::vec3(-3.5f, 0.0f, -2.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    frame.viewProj = frame.projection * frame.view;
    renderShadowAndGeometry(t, frame);
    const std::vector<float> shadow = readAttachment(t, t.gShadowTexture);
    for (float z : {-2.6f, -2.0f, -1.4f}) {
        SCOPED_TRACE(z);
        // 0.05 units from the wall's foot; light reaching here means the shadow has come loose.
        const glm::vec3 nearFoot(kThinWallMin.x - 0.05f, 0.0f, z);
        EXPECT_LT(meanAround(shadow, kChannels, 0, t.width, pixelOf(frame, t, nearFoot), 0), 0.2f);
    }
    EXPECT_GE(minimumAround(shadow, t.width, pixelOf(frame, t, glm::vec3(-5.5f, 0.0f, 0.5f)), 4), 0.99f);
}

TEST(CharacterPasses, SkinnedDepthProgramCastsTheSameShadow) {
    const RenderTargets& t = sharedTargets().targets;
    const FrameView frame = testFrameView(t);
    const TestPrograms& programs = testPrograms();
    const glm::mat4 lightSpace = computeLightSpaceMatrix();
    // The floating box is drawn as the character would be: skinned, in bind pose.
    beginShadowPass(programs.depth, t.shadow, lightSpace);
    programs.depth.setMat4("model", glm::mat4(1.0f));
    drawRawMesh(testScene().ground);
    drawRawMesh(testScene().restingBox);
    prepareCharacterShadowDraw(programs.depthSkinned, lightSpace);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), programs.depthSkinned.id);
    programs.depthSkinned.setMat4("modelMatrix", glm::mat4(1.0f));
    drawRawMesh(testScene().floatingBox);
    beginGeometryPass(programs.geometry, t, lightSpace, frame);
    testScene().draw(programs.geometry, "model");

    const std::vector<float> shadow = readAttachment(t, t.gShadowTexture);
    EXPECT_LT(meanAround(shadow, kChannels, 0, t.width, pixelOf(frame, t, kShadowedGroundPoint), 3), 0.05f);
    EXPECT_GE(minimumAround(shadow, t.width, pixelOf(frame, t, kOpenGroundPoint), 12), 0.99f);
}

// Each pass sets the state it relies on at its start, whatever the passes before it left: here blending,
// a stencil test, GL_ALWAYS, no culling and depth writes off (a masked clear would keep old depth).
TEST(PassState, ShadowAndGeometryPassesSetTheStateTheyRelyOn) {
    const RenderTargets& t = sharedTargets().targets;
    const auto begin = [&](int pass) {
        glEnable(GL_BLEND);
        glEnable(GL_STENCIL_TEST);
        glDisable(GL_DEPTH_TEST);
        glDepthFunc(GL_ALWAYS);
        glDisable(GL_CULL_FACE);
        glDepthMask(GL_FALSE);
        if (pass == 0)
            beginShadowPass(testPrograms().depth, t.shadow, computeLightSpaceMatrix());
        else
            beginGeometryPass(testPrograms().geometry, t, computeLightSpaceMatrix(), testFrameView(t));
    };
    for (int pass : {0, 1}) {
        SCOPED_TRACE(pass == 0 ? "shadow pass" : "geometry pass");
        begin(pass);
        GLboolean depthWrites = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
        EXPECT_TRUE(depthWrites);
        GLint value = 0;
        glGetIntegerv(GL_DEPTH_FUNC, &value);
        EXPECT_EQ(value, GL_LESS);
        glGetIntegerv(GL_CULL_FACE_MODE, &value);
        EXPECT_EQ(value, GL_BACK);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    }
    glDepthMask(GL_TRUE);
}
