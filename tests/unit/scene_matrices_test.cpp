// Where the scene's objects stand: the order of translation, rotations and scale in each matrix.
#include "app/scene.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

glm::vec3 apply(const glm::mat4& m, const glm::vec3& p) {
    return glm::vec3(m * glm::vec4(p, 1.0f));
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

float scaleOf(const glm::mat4& m) {
    return glm::length(glm::vec3(m[0]));
}

const SceneMatrices matrices = composeSceneMatrices();

} // namespace

TEST(SceneMatrices, CarAStandsAtItsPlaceTurnedByMinus100Degrees) {
    expectNear(apply(matrices.carA, {0.0f, 0.0f, 0.0f}), {-20.0f, -1.1f, 8.0f});
    // The rotation acts on the scaled model: +x of the model ends up 1.5 units away, turned about y.
    const float a = glm::radians(-100.0f);
    expectNear(apply(matrices.carA, {1.0f, 0.0f, 0.0f}),
               {-20.0f + 1.5f * std::cos(a), -1.1f, 8.0f - 1.5f * std::sin(a)});
}

TEST(SceneMatrices, TheTerrainTurnsBeforeItIsScaled) {
    expectNear(apply(matrices.terrain, {1.0f, 0.0f, 0.0f}), {-15.0f, -4.0f, 0.0f});
    expectNear(apply(matrices.terrain, {0.0f, 1.0f, 1.0f}), {-10.0f, 4.0f, -5.0f});
}

TEST(SceneMatrices, TheWindowTiltsAboutXThenScalesThenTurnsAboutYThenMoves) {
    const float tilt = glm::radians(20.0f);
    const float turn = glm::radians(40.0f);
    // (0, 1, 0) tilted 20 degrees about x, scaled by 1.5, turned 40 degrees about y, moved.
    const glm::vec3 tilted(0.0f, std::cos(tilt), std::sin(tilt));
    const glm::vec3 scaled = 1.5f * tilted;
    const glm::vec3 turned(scaled.x * std::cos(turn) + scaled.z * std::sin(turn), scaled.y,
                           -scaled.x * std::sin(turn) + scaled.z * std::cos(turn));
    expectNear(apply(matrices.window, {0.0f, 1.0f, 0.0f}), turned + glm::vec3(-18.0f, -1.45f, 17.3f));
}

TEST(SceneMatrices, TreesAlternateBetweenTheTwoModelScales) {
    const float scales[] = {0.015f, 0.01f, 0.015f, 0.01f, 0.015f, 0.01f};
    const glm::vec3 places[] = {{-6.0f, 1.5f, -19.0f}, {-10.0f, -0.5f, 15.0f}, {-40.0f, -3.5f, -5.0f},
                                {20.0f, -2.5f, 25.0f}, {-30.0f, -4.5f, 20.0f}, {-10.0f, -0.5f, -35.0f}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(scaleOf(matrices.trees[i]), scales[i], 1e-6f) << i;
        expectNear(apply(matrices.trees[i], {0.0f, 0.0f, 0.0f}), places[i]);
    }
}

TEST(SceneMatrices, BuildingBackgroundCarsAndEmittersStandAtTheirPlaces) {
    expectNear(apply(matrices.building, {1.0f, 1.0f, 1.0f}), {1.8f, 1.8f, 1.8f});
    expectNear(apply(matrices.background, {0.0f, 1.0f, 0.0f}), {-5.0f, 210.0f, 0.0f});
    expectNear(apply(matrices.carB, {0.0f, 0.0f, 0.0f}), {-10.0f, -1.5f, -30.0f});
    expectNear(apply(matrices.carC, {0.0f, 0.0f, 0.0f}), {-40.0f, -4.0f, 6.0f});
    const glm::vec3 emitters[] = {
        {-22.0f, 0.0f, 7.7f}, {-10.3f, -1.5f, -30.3f}, {-12.0f, 18.0f, -3.3f}, {2.0f, 24.7f, -2.3f}};
    for (int i = 0; i < 4; ++i) {
        expectNear(apply(matrices.emitters[i], {1.0f, 1.0f, 1.0f}), emitters[i] + glm::vec3(1.0f));
    }
}
