// The free camera: mouse-look arithmetic, the pitch limit, movement, and what the two matrices do to
// points.
#include "camera/camera.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// A camera whose first cursor event has already been seen at the rest point.
Camera settledCamera() {
    Camera camera;
    camera.look(cursorRestX, cursorRestY);
    return camera;
}

} // namespace

TEST(MouseLook, TheFirstEventOnlyRecordsThePosition) {
    Camera camera;
    camera.look(100.0f, 900.0f);
    EXPECT_FALSE(camera.firstMouse);
    EXPECT_EQ(camera.yaw, -90.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    expectNear(camera.front, {0.0f, 0.0f, -1.0f});
    EXPECT_EQ(camera.lastX, 960.0f);
    EXPECT_EQ(camera.lastY, 600.0f);
}

TEST(MouseLook, MeasuresFromTheRestPointNotFromTheWindowCentre) {
    Camera camera = settledCamera();
    camera.look(960.0f, 600.0f);
    EXPECT_EQ(camera.yaw, -90.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    // (960, 540) is the centre of a 1920 x 1080 window, 60 pixels above the rest point.
    camera.look(960.0f, 540.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 3.0f);
}

TEST(MouseLook, HundredPixelsTurnFiveDegrees) {
    Camera camera = settledCamera();
    camera.look(1060.0f, 600.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -85.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    camera.look(960.0f, 500.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 5.0f);
    const float yaw = glm::radians(-85.0f);
    const float pitch = glm::radians(5.0f);
    expectNear(camera.front,
               {std::cos(yaw) * std::cos(pitch), std::sin(pitch), std::sin(yaw) * std::cos(pitch)});
}

TEST(MouseLook, PitchStopsAt89DegreesWhileYawNeverWraps) {
    Camera camera = settledCamera();
    for (int i = 0; i < 10; ++i)
        camera.look(960.0f, -10000.0f);
    EXPECT_EQ(camera.pitch, 89.0f);
    EXPECT_GT(camera.front.y, 0.999f);
    camera.look(960.0f, 100000.0f);
    EXPECT_EQ(camera.pitch, -89.0f);
    for (int i = 0; i < 20; ++i)
        camera.look(960.0f + 1000.0f, 600.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -90.0f + 20 * 50.0f);
}

TEST(FreeMovement, HoldingWForOneSecondMovesTenUnitsAlongFront) {
    Camera camera;
    const glm::vec3 start = camera.position;
    MovementKeys keys;
    keys.forward = true;
    camera.move(keys, 1.0f);
    expectNear(camera.position, start + glm::vec3(0.0f, 0.0f, -10.0f));
}

TEST(FreeMovement, OppositeKeysCancelAndSidewaysKeysCombine) {
    Camera camera;
    const glm::vec3 start = camera.position;
    MovementKeys keys;
    keys.forward = true;
    keys.backward = true;
    camera.move(keys, 0.5f);
    expectNear(camera.position, start);
    keys.backward = false;
    keys.right = true;
    camera.move(keys, 0.5f);
    // Looking down -z, "right" is +x.
    expectNear(camera.position, start + glm::vec3(5.0f, 0.0f, -5.0f));
}

TEST(CameraMatrices, ViewPutsTheEyeAtTheOriginLookingDownMinusZ) {
    Camera camera = settledCamera();
    camera.look(1860.0f, 600.0f); // yaw 45 degrees to the right
    const glm::mat4 view = camera.viewMatrix();
    expectNear(glm::vec3(view * glm::vec4(camera.position, 1.0f)), {0.0f, 0.0f, 0.0f});
    expectNear(glm::vec3(view * glm::vec4(camera.position + 3.0f * camera.front, 1.0f)), {0.0f, 0.0f, -3.0f});
}

TEST(CameraMatrices, ProjectionSpansSixtyDegreesTheConfiguredAspectAndDepth01To250) {
    const glm::mat4 projection = projectionMatrix(1280, 720);
    const auto ndc = [&](const glm::vec3& p) {
        const glm::vec4 clip = projection * glm::vec4(p, 1.0f);
        return glm::vec3(clip) / clip.w;
    };
    EXPECT_NEAR(ndc({0.0f, 0.0f, -0.1f}).z, -1.0f, 1e-4f);
    EXPECT_NEAR(ndc({0.0f, 0.0f, -250.0f}).z, 1.0f, 1e-4f);
    const float halfHeight = 10.0f * std::tan(glm::radians(30.0f));
    EXPECT_NEAR(ndc({0.0f, halfHeight, -10.0f}).y, 1.0f, 1e-4f);
    EXPECT_NEAR(ndc({halfHeight * 1280.0f / 720.0f, 0.0f, -10.0f}).x, 1.0f, 1e-4f);
}
