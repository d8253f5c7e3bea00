// The variants of the static lit program: a lamp is left out of a draw only where its light is
// exactly zero, the moonlight and the reflective code only where the group cannot use them, so a
// variant's picture equals the full program's bit for bit; each part left out does show where it is used.
#include "render/lit_pass.hpp"
#include "render/lit_variants.hpp"
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

namespace {

const glm::vec3 kBoxMin{-1.0f, 0.0f, -1.0f};
const glm::vec3 kBoxMax{1.0f, 2.0f, 1.0f};

// Three lamps around the resting box: lamp 0 over the ground beside it, lamp 1 `secondDistance`
// in front of its +z face (the one the camera sees), lamp 2 far off.
LightSet threeLamps(float secondDistance) {
    LightSet lights = lampAndMoon();
    lights.pointColors = {glm::vec3(1.0f), glm::vec3(1.0f), glm::vec3(1.0f)};
    lights.pointPositions = {kLampPosition, glm::vec3(0.0f, 1.0f, kBoxMax.z + secondDistance),
                             glm::vec3(0.0f, 1.0f, 100.0f)};
    lights.pointConstant.assign(3, 0.2f);
    lights.pointLinear.assign(3, 0.02f);
    lights.pointQuadratic.assign(3, 0.1f);
    lights.pointCount = 3;
    return lights;
}

// The resting box alone through the lit pass's set-up with `program`; returns sceneColor as RGBA.
std::vector<float> litBox(const ShaderProgram& program, const LightSet& lights,
                          const MaterialParams& material = MaterialParams{}, float gamma = 2.0f,
                          glm::vec3 bakedLight = glm::vec3(0.0f)) {
    const RenderTargets& t = sharedTargets().targets;
    const FrameView frame = testFrameView(t);
    renderShadowAndGeometry(t, frame);
    beginLitPass(t);
    // No occlusion pass runs here: its term would be whatever the target last held.
    AppState switches;
    switches.ambientOcclusionEnabled = false;
    applyLightSet(program, frame.cameraPosition, lights, frame.viewProj, material, gamma, switches);
    bindLitPassInputs(program, t);
    GLuint textures[2] = {createSolidTexture(glm::vec3(0.6f)), createSolidTexture(bakedLight)};
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    program.setMat4("modelMatrix", glm::mat4(1.0f));
    drawRawMesh(testScene().restingBox);
    endLitPass();
    glDeleteTextures(2, textures);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    return readTexture(t.sceneColor, GL_RGBA, 4, t.width, t.height);
}

} // namespace

TEST(LampsReaching, KeepsTheLampsWithinRangeOfThePlacedBoxAmongTheCounted) {
    const glm::mat4 identity(1.0f);
    EXPECT_EQ(lampsReaching(kBoxMin, kBoxMax, identity, threeLamps(12.9f)), 0b011);
    // 13.2 is beyond the range with its margin; 13.1 is within the margin and keeps the lamp.
    EXPECT_EQ(lampsReaching(kBoxMin, kBoxMax, identity, threeLamps(13.2f)), 0b001);
    EXPECT_EQ(lampsReaching(kBoxMin, kBoxMax, identity, threeLamps(13.1f)), 0b011);
    // Moved 95 units towards lamp 2, the box has it in range and the first two beyond.
    const glm::mat4 moved = glm::translate(identity, glm::vec3(0.0f, 0.0f, 95.0f));
    EXPECT_EQ(lampsReaching(kBoxMin, kBoxMax, moved, threeLamps(12.9f)), 0b100);
    LightSet oneCounted = threeLamps(12.9f);
    oneCounted.pointCount = 1;
    EXPECT_EQ(lampsReaching(kBoxMin, kBoxMax, identity, oneCounted), 0b001);
}

// A hollow cube of side 100 holds every lamp inside its one box, as the sky dome holds the scene;
// only a lamp within range of a wall reaches a triangle.
TEST(LampsReaching, InsideAHollowMeshOnlyTheLampsNearItsWallsCount) {
    std::vector<Vertex> corners(8);
    for (int i = 0; i < 8; ++i)
        corners[static_cast<size_t>(i)].position =
            glm::vec3(i & 1 ? 50.0f : -50.0f, i & 2 ? 50.0f : -50.0f, i & 4 ? 50.0f : -50.0f);
    std::vector<unsigned int> faces = {0, 1, 3, 0, 3, 2, 4, 5, 7, 4, 7, 6, 0, 1, 5, 0, 5, 4,
                                       2, 3, 7, 2, 7, 6, 0, 2, 6, 0, 6, 4, 1, 3, 7, 1, 7, 5};
    const Mesh shell(corners, faces, {}, std::vector<VertexBoneData>(corners.size()));
    LightSet lights = threeLamps(0.0f);
    lights.pointPositions = {glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, 37.1f), glm::vec3(0.0f, 0.0f, -36.8f)};
    const glm::mat4 identity(1.0f);
    ASSERT_EQ(lampsReaching(shell.boundsMin, shell.boundsMax, identity, lights), 0b111);
    EXPECT_EQ(lampsReachingMesh(shell, identity, lights), 0b010);
    // Placed 5 units further along z, the wall behind lamp 2 is 8.2 units away, the one ahead of
    // lamp 1 17.9.
    EXPECT_EQ(lampsReachingMesh(shell, glm::translate(identity, glm::vec3(0.0f, 0.0f, 5.0f)), lights), 0b100);
    glDeleteVertexArrays(1, &shell.vao);
    const GLuint buffers[] = {shell.vbo, shell.ebo, shell.boneVbo};
    glDeleteBuffers(3, buffers);
}

TEST(LitVariants, LeaveOutOnlyWhatCannotShowAndEachPartShowsWhereItIsUsed) {
    const ShaderProgram& full = testPrograms().phong;
    LitVariants variants = createLitVariants(std::string(sourceDir()) + "/assets/shaders/");
    EXPECT_EQ(&litProgramFor(variants, full, kFullLitProgram), &full);

    const LightSet beyond = threeLamps(13.2f);
    ASSERT_EQ(lampsReaching(kBoxMin, kBoxMax, glm::mat4(1.0f), beyond), 0b001);
    const int key = litVariantKey(0b001, beyond, MaterialParams{}, 2.0f, true, true);
    ASSERT_EQ(key, 0b001 | kMoonlightBit | kBakedLightBit);
    const ShaderProgram& firstLampOnly = litProgramFor(variants, full, key);
    ASSERT_NE(firstLampOnly.id, 0u);
    ASSERT_NE(firstLampOnly.id, full.id);
    const std::vector<float> fullPicture = litBox(full, beyond);
    EXPECT_EQ(litBox(firstLampOnly, beyond), fullPicture);

    // Lamp 1 just within range lights the box's +z face a little: the full program shows it, and
    // the variant without that lamp does not.
    const LightSet within = threeLamps(12.0f);
    EXPECT_NE(litBox(full, within), fullPicture);
    EXPECT_EQ(litBox(firstLampOnly, within), fullPicture);

    // Without a directional light the variant has no moonlight code and gives the same picture; under
    // the moon it would lose the moonlight.
    LightSet moonless = beyond;
    moonless.directionalCount = 0;
    const ShaderProgram& noMoon =
        litProgramFor(variants, full, litVariantKey(0b001, moonless, MaterialParams{}, 2.0f, true, true));
    ASSERT_NE(noMoon.id, firstLampOnly.id);
    EXPECT_EQ(litBox(noMoon, moonless), litBox(full, moonless));
    EXPECT_NE(litBox(noMoon, beyond), fullPicture);

    // A reflective material needs the reflective code: the matte variant would lose its mirrored sky.
    MaterialParams paint;
    paint.isReflective = true;
    const ShaderProgram& reflective =
        litProgramFor(variants, full, litVariantKey(0b001, beyond, paint, 2.0f, true, true));
    const std::vector<float> paintPicture = litBox(full, beyond, paint);
    EXPECT_EQ(litBox(reflective, beyond, paint), paintPicture);
    EXPECT_NE(litBox(firstLampOnly, beyond, paint), paintPicture);

    // Gamma 2 is built into every variant drawn while it is set; any other gamma, or none, takes the
    // gamma code that follows the setting, which the built-in one would not.
    EXPECT_EQ(litVariantKey(0b001, beyond, MaterialParams{}, 2.2f, true, true), key | kAnyGammaBit);
    EXPECT_EQ(litVariantKey(0b001, beyond, MaterialParams{}, 2.0f, false, true), key | kAnyGammaBit);
    const ShaderProgram& anyGamma = litProgramFor(variants, full, key | kAnyGammaBit);
    EXPECT_EQ(litBox(anyGamma, beyond, MaterialParams{}, 2.2f), litBox(full, beyond, MaterialParams{}, 2.2f));
    EXPECT_NE(litBox(firstLampOnly, beyond, MaterialParams{}, 2.2f),
              litBox(full, beyond, MaterialParams{}, 2.2f));

    // A mesh whose unit 1 holds the all-black image draws without the baked light's lookup, to the
    // same picture; where unit 1 holds light, that variant would lose it.
    const int unlit = litVariantKey(0b001, beyond, MaterialParams{}, 2.0f, true, false);
    EXPECT_EQ(unlit, key & ~kBakedLightBit);
    const ShaderProgram& noBakedLight = litProgramFor(variants, full, unlit);
    ASSERT_NE(noBakedLight.id, firstLampOnly.id);
    EXPECT_EQ(litBox(noBakedLight, beyond), fullPicture);
    const glm::vec3 glow(0.5f);
    EXPECT_NE(litBox(noBakedLight, beyond, MaterialParams{}, 2.0f, glow),
              litBox(full, beyond, MaterialParams{}, 2.0f, glow));
}
