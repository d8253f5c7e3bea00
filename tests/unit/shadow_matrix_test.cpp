// The fixed light-space matrix: the light's box maps onto clip space and points outside it do not.
#include "render/shadow_map.hpp"

#include <gtest/gtest.h>

namespace {

glm::vec3 toClip(glm::vec3 world) {
    const glm::vec4 clip = computeLightSpaceMatrix() * glm::vec4(world, 1.0f);
    return glm::vec3(clip) / clip.w;
}

bool inside(glm::vec3 clip) {
    return std::abs(clip.x) <= 1.0f && std::abs(clip.y) <= 1.0f && std::abs(clip.z) <= 1.0f;
}

const glm::vec3 kToLight = glm::normalize(kShadowLightPosition);

} // namespace

TEST(LightSpaceMatrix, MapsTheOriginToTheBoxCentreLineAtItsDistance) {
    const glm::vec3 origin = toClip(glm::vec3(0.0f));
    EXPECT_NEAR(origin.x, 0.0f, 1e-5f);
    EXPECT_NEAR(origin.y, 0.0f, 1e-5f);
    // 70 units from the light in a depth range of 1 to 120.
    EXPECT_NEAR(origin.z, (70.0f - 1.0f) / 119.0f * 2.0f - 1.0f, 1e-4f);
}

TEST(LightSpaceMatrix, PointsOutsideTheBoxMapOutsideClipSpace) {
    const glm::vec3 side = glm::normalize(glm::cross(kToLight, glm::vec3(0.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(inside(toClip(side * 89.0f)));
    EXPECT_FALSE(inside(toClip(side * 91.0f)));
    // Depth: 69 units towards the light is the near plane, 50 units away from it the far plane.
    EXPECT_TRUE(inside(toClip(kToLight * 68.0f)));
    EXPECT_FALSE(inside(toClip(kToLight * 69.5f)));
    EXPECT_TRUE(inside(toClip(-kToLight * 49.0f)));
    EXPECT_FALSE(inside(toClip(-kToLight * 50.5f)));
}

TEST(LightSpaceMatrix, KeepsTheSceneUpright) {
    // World up stays up in the map, so the light's box is not rolled.
    EXPECT_GT(toClip(glm::vec3(0.0f, 10.0f, 0.0f)).y, toClip(glm::vec3(0.0f)).y);
    EXPECT_NEAR(toClip(glm::vec3(0.0f, 10.0f, 0.0f)).x, 0.0f, 1e-5f);
}
