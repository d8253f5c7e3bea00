// Culling: a box is dropped only when no part of it can reach the clip volume; distances to placed boxes.
#include "render/visibility.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// A camera at the origin looking down -z, 90 degrees wide, near 0.1, far 100.
const glm::mat4 kCamera = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f);

struct BoxCase {
    const char* what;
    glm::vec3 boxMin;
    glm::vec3 boxMax;
    bool outside;
};

} // namespace

TEST(Visibility, BoxesAreCulledOnlyWhenWhollyBeyondOneClipPlane) {
    const BoxCase cases[] = {
        {"straight ahead", {-1, -1, -11}, {1, 1, -9}, false},
        {"left of the view", {-30, -1, -11}, {-12, 1, -9}, true},
        {"above the view", {-1, 12, -11}, {1, 30, -9}, true},
        {"behind the camera", {-1, -1, 5}, {1, 1, 9}, true},
        {"beyond the far plane", {-1, -1, -300}, {1, 1, -200}, true},
        {"around the camera", {-5, -5, -5}, {5, 5, 5}, false},
        // Each corner lies outside some plane, but not all outside the same one: kept.
        {"across the view's left corner", {-30, -1, -11}, {2, 1, -9}, false},
        {"reaching from behind into view", {-1, -1, -20}, {1, 1, 20}, false},
    };
    for (const BoxCase& c : cases)
        EXPECT_EQ(boxOutsideClip(c.boxMin, c.boxMax, kCamera), c.outside) << c.what;
}

TEST(Visibility, DistanceToAPlacedBoxMeasuresToItsWorldBox) {
    const glm::vec3 low(0.0f);
    const glm::vec3 high(1.0f);
    const glm::mat4 moved = glm::translate(glm::mat4(1.0f), glm::vec3(10.0f, 0.0f, 0.0f));
    const glm::mat4 stretched = glm::scale(moved, glm::vec3(4.0f, 1.0f, 1.0f));
    const glm::mat4 turned = glm::rotate(moved, glm::radians(180.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    struct Case {
        glm::vec3 point;
        glm::mat4 placement;
        float distance;
    } cases[] = {
        {{0.0f, 0.0f, 0.0f}, moved, 10.0f},
        {{10.5f, 0.5f, 0.5f}, moved, 0.0f},
        {{16.0f, 0.5f, 0.5f}, stretched, 2.0f},
        // Turned half round Y, the box spans x 9..10 and z -1..0.
        {{0.0f, 0.0f, -0.5f}, turned, 9.0f},
        {{10.5f, 3.0f, 0.0f}, moved, 2.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(distanceToPlacedBox(c.point, low, high, c.placement), c.distance, 1e-4f);
}
