// The automatic flight: positions inside segments, the boundaries where nothing moves, the hold after
// the last row, and the clock that only runs while the flight is advanced.
#include "camera/camera_path.hpp"

#include <gtest/gtest.h>

namespace {

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

struct FlightFixture : ::testing::Test {
    const CameraPath path;
    Camera camera;
    float flightTime = 0.0f;
};

} // namespace

TEST_F(FlightFixture, AtTwoSecondsTheCameraIsHalfwayAlongTheFirstSegment) {
    const glm::vec3 before = camera.position;
    path.advance(camera, flightTime, 2.0f);
    EXPECT_EQ(flightTime, 2.0f);
    expectNear(camera.position, {-8.44701f, 16.18815f, 2.87347f});
    // The look is aimed from where the camera stood before this step.
    const glm::vec3 target = (path.rows[0].target + path.rows[1].target) * 0.5f;
    expectNear(camera.front, glm::normalize(target - before));
}

TEST_F(FlightFixture, ExactlyOnASegmentBoundaryNothingMoves) {
    for (float boundary : {4.0f, 58.0f, 75.0f}) {
        flightTime = boundary - 0.5f;
        path.advance(camera, flightTime, 0.0f);
        const Camera before = camera;
        path.advance(camera, flightTime, 0.5f);
        EXPECT_EQ(flightTime, boundary);
        EXPECT_EQ(camera.position, before.position) << boundary;
        EXPECT_EQ(camera.front, before.front) << boundary;
    }
}

TEST_F(FlightFixture, AfterTheLastRowTheCameraHoldsJustShortOfIt) {
    flightTime = 84.9f;
    path.advance(camera, flightTime, 0.05f);
    const Camera last = camera;
    expectNear(last.position, {-23.0f, 2.0f, 31.96f}, 1e-2f);
    while (flightTime < 91.5f)
        path.advance(camera, flightTime, 0.05f);
    EXPECT_EQ(camera.position, last.position);
    EXPECT_EQ(camera.front, last.front);
}

TEST_F(FlightFixture, ResumesOnTheRouteFromWhereverTheFreeCameraWent) {
    path.advance(camera, flightTime, 1.0f);
    camera.position = glm::vec3(100.0f, 100.0f, 100.0f);
    path.advance(camera, flightTime, 1.0f);
    expectNear(camera.position, {-8.44701f, 16.18815f, 2.87347f});
    // The first look after the jump still comes from the free camera's place.
    EXPECT_LT(camera.front.x, 0.0f);
    EXPECT_LT(camera.front.y, 0.0f);
}
