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
