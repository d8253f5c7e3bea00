// Where the scene's objects stand: the order of translation, rotations and scale in the matrices that
// the asset layout tests do not already check against the models.
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

const SceneMatrices matrices = composeSceneMatrices();

} // namespace

TEST(SceneMatrices, CarAStandsAtItsPlaceTurnedByMinus100Degrees) {
    expectNear(apply(matrices.carA, {0.0f, 0.0f, 0.0f}), {-20.0f, -1.1f, 8.0f});
    // The rotation acts on the scaled model: +x of the model ends up 1.5 units away, turned about y.
    const float a = glm::radians(-100.0f);
    expectNear(apply(matrices.carA, {1.0f, 0.0f, 0.0f}),
               {-20.0f + 1.5f * std::cos(a), -1.1f, 8.0f - 1.5f * std::sin(a)});
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

// The asset layout tests stand the building, terrain, cars, trees and emitters C and D on the
// generated models; emitters A and B burn in the street.
TEST(SceneMatrices, StreetEmittersStandAtTheirPlaces) {
    expectNear(apply(matrices.emitters[0], {1.0f, 1.0f, 1.0f}), {-21.0f, 1.0f, 8.7f});
    expectNear(apply(matrices.emitters[1], {0.0f, 0.0f, 0.0f}), {-10.3f, -1.5f, -30.3f});
}
