// The passes after the geometry buffer on the test scene: occlusion darkens the crease at the box's
// foot and leaves open ground alone, the blur averages exactly one noise tile, the lit pass's depth
// reuse gives the picture of plain depth testing, the character is lit like the scene, and the final
// pass puts sceneColor on the window unchanged. (The moon's shadow, the lamp's pool and the H, G and
// lamp switches are checked in the viewer's own pictures by the static scene image test.)
#include "render/character_passes.hpp"
#include "render/final_pass.hpp"
#include "render/lit_pass.hpp"
#include "render/occlusion.hpp"
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Occlusion {
    std::vector<glm::vec3> kernel;
    GLuint noiseTexture = 0;
};

const Occlusion& occlusion() {
    static const Occlusion o = [] {
        std::srand(1);
        Occlusion made;
        made.kernel = buildOcclusionKernel();
        made.noiseTexture = createNoiseTexture(buildOcclusionNoise());
        return made;
    }();
    return o;
}

void renderUpToOcclusion(const RenderTargets& t, const FrameView& frame) {
    renderShadowAndGeometry(t, frame);
    runOcclusionPass(testPrograms().ssao, t, occlusion().kernel, occlusion().noiseTexture, frame.projection);
    runOcclusionBlurPass(testPrograms().ssaoBlur, t);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A grey diffuse texture on unit 0 and the given baked light on unit 1, then the test scene through
// the lit program.
void drawLitScene(const ShaderProgram& program, glm::vec3 baked = glm::vec3(0.0f)) {
    glActiveTexture(GL_TEXTURE0); // creating the textures binds them on the active unit
    GLuint textures[2] = {createSolidTexture(glm::vec3(0.6f)), createSolidTexture(baked)};
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    testScene().draw(program, "modelMatrix");
    glDeleteTextures(2, textures);
}

// Sets the static lit program up for the test frame (lamp and moon, default material and switches).
void prepareStaticLit(const RenderTargets& t, const FrameView& frame) {
    applyLightSet(testPrograms().phong, frame.cameraPosition, lampAndMoon(), frame.viewProj, MaterialParams{},
                  2.0f, AppState{});
    bindLitPassInputs(testPrograms().phong, t);
}

enum class LitAs { staticObjects, character };

// The lit pass over the test scene (after the earlier passes) under the lamp and the moon, with a grey
// diffuse texture and the given baked light on unit 1, drawn as static objects or as the character
// would be; returns sceneColor as RGBA.
std::vector<float> renderLit(glm::vec3 baked = glm::vec3(0.0f), LitAs as = LitAs::staticObjects) {
    const RenderTargets& t = sharedTargets().targets;
    const FrameView frame = testFrameView(t);
    renderUpToOcclusion(t, frame);
    const ShaderProgram phong =
        as == LitAs::staticObjects ? testPrograms().phong : testPrograms().phongSkinned;
    beginLitPass(t);
    if (as == LitAs::staticObjects) {
        prepareStaticLit(t, frame);
    } else {
        // The character is drawn after the static objects, depth-tested as an ordinary draw; here it
        // stands in for all of them.
        endLitPass();
        glClear(GL_DEPTH_BUFFER_BIT);
        prepareCharacterLitDraw(phong, t, frame, lampAndMoon(), 2.0f, AppState{});
    }
    drawLitScene(phong, baked);
    endLitPass();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    return readTexture(t.sceneColor, GL_RGBA, 4, t.width, t.height);
}

float brightness(const std::vector<float>& color, glm::vec3 world, int r = 3) {
    const RenderTargets& t = sharedTargets().targets;
    const glm::ivec2 p = pixelOf(testFrameView(t), t, world);
    return (meanAround(color, 4, 0, t.width, p, r) + meanAround(color, 4, 1, t.width, p, r) +
            meanAround(color, 4, 2, t.width, p, r)) /
           3.0f;
}

} // namespace

TEST(OcclusionBlurPass, AveragesExactlyTheFourByFourTileAroundEachPixelWithoutWrapping) {
    const RenderTargets& t = sharedTargets().targets;
    // A pattern with period 16 in x, so that a block off by one texel gives another mean; the right
    // edge column is bright so that wrapping around the left edge would show.
    std::vector<float> input(static_cast<size_t>(t.width) * static_cast<size_t>(t.height));
    for (int y = 0; y < t.height; ++y)
        for (int x = 0; x < t.width; ++x)
            input[static_cast<size_t>(y) * static_cast<size_t>(t.width) + static_cast<size_t>(x)] =
                x == t.width - 1 ? 1.0f : static_cast<float>((x * 5 + y * 3) % 16) / 15.0f;
    glBindTexture(GL_TEXTURE_2D, t.ssaoColorBuffer);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, t.width, t.height, GL_RED, GL_FLOAT, input.data());
    const std::vector<float> stored = readTexture(t.ssaoColorBuffer, GL_RED, 1, t.width, t.height);

    runOcclusionBlurPass(testPrograms().ssaoBlur, t);
    const std::vector<float> blurred = readTexture(t.ssaoColorBufferBlur, GL_RED, 1, t.width, t.height);
    auto at = [&](const std::vector<float>& image, int x, int y) {
        return image[static_cast<size_t>(y) * static_cast<size_t>(t.width) + static_cast<size_t>(x)];
    };
    int wrong = 0;
    for (int y = 2; y < t.height - 1; y += 7)
        for (int x = 2; x < t.width - 1; ++x) {
            float sum = 0.0f;
            for (int dy = -2; dy < 2; ++dy)
                for (int dx = -2; dx < 2; ++dx)
                    sum += at(stored, x + dx, y + dy);
            if (std::abs(at(blurred, x, y) - sum / 16.0f) > 1.5f / 255.0f)
                ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    for (int y = 0; y < t.height; y += 5)
        EXPECT_LT(at(blurred, 0, y), 0.9f) << y;
}

// One render of the test scene through the occlusion passes and the lit pass.
// The lit pass starts from the geometry pass's depth so that hidden surfaces are never shaded. It
// must give exactly what plain depth testing in a cleared buffer gives: a lit fragment whose depth
// differed in the last bit from the geometry pass's would leave a white hole. With the copied depth
// every surface at a pixel's nearest depth passes the depth test; the stencil must still let only
// the first one drawn colour the pixel. And the surfaces the character hid in the geometry pass (it
// is drawn after the static depth was kept, and has walked on by the lit pass) must still be lit.
TEST(OcclusionAndLitPass, CopiedDepthShadesEveryPixelOnceAsPlainDepthTestingWould) {
    const RenderTargets& t = sharedTargets().targets;
    ASSERT_TRUE(t.staticDepthComplete);
    const FrameView frame = testFrameView(t);
    const std::vector<float> copied = renderLit();
    // Occlusion darkens the crease at the resting box's foot and leaves open ground and empty pixels lit.
    const std::vector<float> blurred = readTexture(t.ssaoColorBufferBlur, GL_RED, 1, t.width, t.height);
    const float open = meanAround(blurred, 1, 0, t.width, pixelOf(frame, t, kOpenGroundPoint), 2);
    EXPECT_GT(open, 0.95f);
    EXPECT_LT(meanAround(blurred, 1, 0, t.width, pixelOf(frame, t, kCreasePoint), 2), open - 0.1f);
    EXPECT_EQ(meanAround(blurred, 1, 0, t.width, glm::ivec2(20, t.height - 20), 2), 1.0f);

    const auto litAgain = [&](bool plainDepth, glm::vec3 secondBaked) {
        beginLitPass(t);
        if (plainDepth) {
            endLitPass();
            glClear(GL_DEPTH_BUFFER_BIT);
            glDepthFunc(GL_LESS);
        }
        prepareStaticLit(t, frame);
        drawLitScene(testPrograms().phong);
        if (secondBaked != glm::vec3(0.0f))
            drawLitScene(testPrograms().phong, secondBaked); // the same surfaces again, brighter
        endLitPass();
        return readTexture(t.sceneColor, GL_RGBA, 4, t.width, t.height);
    };
    const std::vector<float> plain = litAgain(true, glm::vec3(0.0f));
    size_t differing = 0, white = 0;
    for (size_t i = 0; i < plain.size(); i += 4) {
        differing += std::abs(copied[i] - plain[i]) > 1.0f / 255.0f ||
                     std::abs(copied[i + 1] - plain[i + 1]) > 1.0f / 255.0f ||
                     std::abs(copied[i + 2] - plain[i + 2]) > 1.0f / 255.0f;
        white += copied[i] == 1.0f && copied[i + 1] == 1.0f && copied[i + 2] == 1.0f;
    }
    EXPECT_EQ(differing, 0u);
    // The ground fills the lower half of the view; only sky pixels may keep the white clear.
    EXPECT_LT(white, plain.size() / 4 / 2);

    renderUpToOcclusion(t, frame); // hands the lit pass a fresh depth and a zero stencil
    const std::vector<float> twice = litAgain(false, glm::vec3(0.5f));
    EXPECT_NEAR(brightness(twice, kOpenGroundPoint), brightness(copied, kOpenGroundPoint), 1.0f / 255.0f);
    EXPECT_NEAR(brightness(twice, kCreasePoint, 1), brightness(copied, kCreasePoint, 1), 1.0f / 255.0f);

    // A box right in front of the open ground, drawn into the geometry buffer as the character is.
    renderShadowAndGeometry(t, frame);
    RawGeometry box;
    const glm::vec3 front = kOpenGroundPoint + glm::normalize(frame.cameraPosition - kOpenGroundPoint) * 2.0f;
    addBox(box, front - glm::vec3(0.5f), front + glm::vec3(0.5f));
    RawMesh stand = uploadRawMesh(box);
    testPrograms().geometry.setMat4("model", glm::mat4(1.0f));
    drawRawMesh(stand);
    deleteRawMesh(stand);
    runOcclusionPass(testPrograms().ssao, t, occlusion().kernel, occlusion().noiseTexture, frame.projection);
    runOcclusionBlurPass(testPrograms().ssaoBlur, t);
    const std::vector<float> after = litAgain(false, glm::vec3(0.0f));
    // Occlusion differs around the stand-in; its middle hides open ground, far from any crease.
    EXPECT_LT(brightness(after, kOpenGroundPoint, 1), 0.9f);
    EXPECT_NEAR(brightness(after, kOpenGroundPoint, 1), brightness(copied, kOpenGroundPoint, 1), 0.05f);
    // It leaves depth writes on for the character and no stencil test behind.
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
}

TEST(CharacterPasses, CharacterIsLitLikeTheSceneButNeitherShadowedNorBaked) {
    const std::vector<float> scene = renderLit(glm::vec3(0.5f));
    GLint ssaoUnit = -1;
    const std::vector<float> character = renderLit(glm::vec3(0.5f), LitAs::character);
    glGetUniformiv(testPrograms().phongSkinned.id,
                   glGetUniformLocation(testPrograms().phongSkinned.id, "ssao"), &ssaoUnit);
    EXPECT_EQ(ssaoUnit, 2);
    // Same lighting model: where the moon reaches and nothing is baked the two agree once the baked
    // light is taken out of the scene's image.
    const std::vector<float> unbaked = renderLit();
    EXPECT_NEAR(brightness(character, kOpenGroundPoint), brightness(unbaked, kOpenGroundPoint), 0.01f);
    EXPECT_LT(brightness(character, kOpenGroundPoint), brightness(scene, kOpenGroundPoint) - 0.05f);
    // No shadow map: the moon reaches the character where the scene is shadowed.
    EXPECT_GT(brightness(character, kShadowedGroundPoint), brightness(unbaked, kShadowedGroundPoint) + 0.03f);
}

TEST(FinalPass, WindowShowsExactlySceneColorWhateverBlendingAndDepthWereLeft) {
    const RenderTargets& t = sharedTargets().targets;
    const size_t width = static_cast<size_t>(t.width);
    std::vector<float> pattern(width * static_cast<size_t>(t.height) * 4);
    for (size_t i = 0; i < pattern.size(); i += 4) {
        const size_t x = (i / 4) % width, y = (i / 4) / width;
        pattern[i] = static_cast<float>((x * 7) % 256) / 255.0f;
        pattern[i + 1] = static_cast<float>((y * 13) % 256) / 255.0f;
        pattern[i + 2] = static_cast<float>((x + y) % 2);
        pattern[i + 3] = 0.5f;
    }
    glBindTexture(GL_TEXTURE_2D, t.sceneColor);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, t.width, t.height, GL_RGBA, GL_FLOAT, pattern.data());
    // Blending left on, with a function under which even an opaque copy would add to the clear.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_DEPTH_TEST);

    runFinalPass(testPrograms().color, t);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint drawFramebuffer = -1;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
    EXPECT_EQ(drawFramebuffer, 0);

    int shownWidth = 0, shownHeight = 0;
    glfwGetFramebufferSize(testWindow(), &shownWidth, &shownHeight);
    std::vector<unsigned char> window(static_cast<size_t>(shownWidth) * static_cast<size_t>(shownHeight) * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, shownWidth, shownHeight, GL_RGBA, GL_UNSIGNED_BYTE, window.data());
    int mismatches = 0;
    for (size_t i = 0; i < window.size(); ++i) {
        const size_t x = (i / 4) % static_cast<size_t>(shownWidth),
                     y = (i / 4) / static_cast<size_t>(shownWidth);
        if (i % 4 < 3 && std::abs(window[i] - pattern[(y * width + x) * 4 + i % 4] * 255.0f) > 1.0f)
            ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
