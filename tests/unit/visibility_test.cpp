// Culling and dirty-rectangle arithmetic: a box is dropped only when no part of it can reach the
// clip volume, and a texel rectangle covers everything its box can touch.
#include "render/shadow_map.hpp"
#include "render/visibility.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// A camera at the origin looking down -z, 90 degrees wide, near 0.1, far 100.
const glm::mat4 kCamera = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f);

glm::ivec4 corners(const TexelRect& r) {
    return {r.x0, r.y0, r.x1, r.y1};
}

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

TEST(Visibility, TexelRectangleCoversTheBoxWithItsMarginAndIsClamped) {
    // Orthographic x and y over -8..8: a 256-texel map has 16 texels per unit, all exact in binary.
    const glm::mat4 ortho = glm::ortho(-8.0f, 8.0f, -8.0f, 8.0f, -10.0f, 10.0f);
    struct RectCase {
        glm::vec3 boxMin, boxMax;
        int margin;
        TexelRect expected;
    };
    const RectCase cases[] = {
        {{0.0f, 0.0f, 0.0f}, {1.0f, 2.0f, 1.0f}, 0, {128, 128, 144, 160}},
        {{0.0625f, 0.0625f, 0.0f}, {0.9375f, 1.9375f, 1.0f}, 2, {127, 127, 145, 161}},
        {{-20.0f, 5.0f, 0.0f}, {-7.0f, 30.0f, 1.0f}, 2, {0, 206, 18, 256}},
    };
    for (const RectCase& c : cases) {
        EXPECT_EQ(corners(texelRectOfBox(c.boxMin, c.boxMax, ortho, 256, c.margin)), corners(c.expected));
    }
    const TexelRect whole = texelRectOfBox(glm::vec3(NAN), glm::vec3(1.0f), ortho, 256, 0);
    EXPECT_EQ(whole.x1 - whole.x0, 256);
    EXPECT_EQ(whole.y1 - whole.y0, 256);
}

TEST(Visibility, UnitingRectanglesIgnoresEmptyOnes) {
    const TexelRect a{10, 20, 30, 40};
    const TexelRect b{25, 5, 50, 35};
    EXPECT_EQ(corners(uniteRects(a, b)), glm::ivec4(10, 5, 50, 40));
    EXPECT_EQ(corners(uniteRects(TexelRect{}, a)), corners(a));
    EXPECT_EQ(corners(uniteRects(a, TexelRect{})), corners(a));
    EXPECT_TRUE(TexelRect{}.empty());
}

// The shadow pass redraws a dirty rectangle with the objects that can reach it: a box just inside
// the rectangle's edge is kept, one just beyond it on any side is dropped.
TEST(Visibility, CropToARectangleCullsAgainstThatRectangleOnly) {
    const glm::mat4 light = computeLightSpaceMatrix();
    const TexelRect rect{4000, 4100, 4200, 4300};
    const glm::mat4 crop = cropToTexelRect(rect, kShadowMapSize);
    // World points at texel (x, y) of the map, on the light's middle depth.
    const glm::mat4 worldFromClip = glm::inverse(light);
    auto worldAt = [&](float x, float y) {
        const glm::vec4 clip(x / kShadowMapSize * 2.0f - 1.0f, y / kShadowMapSize * 2.0f - 1.0f, 0.0f, 1.0f);
        return glm::vec3(worldFromClip * clip);
    };
    auto tinyBoxAt = [&](float x, float y) {
        const glm::vec3 p = worldAt(x, y);
        return boxOutsideClip(p - glm::vec3(0.001f), p + glm::vec3(0.001f), crop * light);
    };
    EXPECT_FALSE(tinyBoxAt(4100.0f, 4200.0f));
    EXPECT_FALSE(tinyBoxAt(4000.5f, 4100.5f));
    EXPECT_FALSE(tinyBoxAt(4199.5f, 4299.5f));
    EXPECT_TRUE(tinyBoxAt(3998.0f, 4200.0f));
    EXPECT_TRUE(tinyBoxAt(4202.0f, 4200.0f));
    EXPECT_TRUE(tinyBoxAt(4100.0f, 4098.0f));
    EXPECT_TRUE(tinyBoxAt(4100.0f, 4302.0f));
}

TEST(Visibility, DistanceAndDrawOrderKeyMeasureToTheWorldBoxAndPutBoxesAroundThePointLast) {
    const glm::vec3 low(0.0f);
    const glm::vec3 high(1.0f);
    const glm::mat4 moved = glm::translate(glm::mat4(1.0f), glm::vec3(10.0f, 0.0f, 0.0f));
    const glm::mat4 stretched = glm::scale(moved, glm::vec3(4.0f, 1.0f, 1.0f));
    const glm::mat4 turned = glm::rotate(moved, glm::radians(180.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    struct Case {
        glm::vec3 point;
        glm::mat4 placement;
        float distance;
        float key;
    } cases[] = {
        {{0.0f, 0.0f, 0.0f}, moved, 10.0f, 10.0f},
        {{16.0f, 0.5f, 0.5f}, stretched, 2.0f, 2.0f},
        // Turned half round Y, the box spans x 9..10 and z -1..0.
        {{0.0f, 0.0f, -0.5f}, turned, 9.0f, 9.0f},
        {{10.5f, 3.0f, 0.0f}, moved, 2.0f, 2.0f},
        // Inside, the key is the distance to the farthest corner.
        {{10.5f, 0.5f, 0.5f}, moved, 0.0f, std::sqrt(0.75f)},
        {{11.0f, 0.25f, 0.5f}, stretched, 0.0f, std::sqrt(9.0f + 0.5625f + 0.25f)},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(distanceToPlacedBox(c.point, low, high, c.placement), c.distance, 1e-4f);
        EXPECT_NEAR(drawOrderKey(c.point, low, high, c.placement), c.key, 1e-4f);
    }
}
