// The occlusion kernel and noise drawn from the C library generator: shapes, bounds and the fact
// that the same generator state always gives the same values.
#include "render/occlusion.hpp"
#include "render/unit_random.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(UnitRandom, StaysWithinZeroAndOneOnThisCLibrary) {
    std::srand(7);
    float low = 1.0f, high = 0.0f;
    for (int i = 0; i < 100000; ++i) {
        const float r = drawUnitRandom();
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_GE(low, 0.0f);
    EXPECT_LE(high, 1.0f);
    // Spread over the whole range, not squeezed into a corner of it.
    EXPECT_LT(low, 0.01f);
    EXPECT_GT(high, 0.99f);
}

TEST(OcclusionKernel, HasThirtyTwoHemisphereSamplesGrowingWithinTheirBounds) {
    std::srand(1);
    const std::vector<glm::vec3> kernel = buildOcclusionKernel();
    ASSERT_EQ(kernel.size(), 32u);
    for (size_t i = 0; i < kernel.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(kernel[i].z, 0.0f);
        const float t = static_cast<float>(i) / 64.0f;
        EXPECT_LE(glm::length(kernel[i]), 0.1f + 0.9f * t * t + 1e-6f);
    }
    EXPECT_LE(glm::length(kernel.front()), 0.1f);
    EXPECT_LE(glm::length(kernel.back()), 0.3112f);
    // The samples really spread over the hemisphere rather than collapsing onto an axis.
    float smallestX = 1.0f, largestX = -1.0f;
    for (const glm::vec3& sample : kernel) {
        smallestX = std::min(smallestX, sample.x);
        largestX = std::max(largestX, sample.x);
    }
    EXPECT_LT(smallestX, 0.0f);
    EXPECT_GT(largestX, 0.0f);
}

TEST(OcclusionKernel, SameGeneratorStateGivesTheSameKernelAndNoise) {
    std::srand(1);
    const std::vector<glm::vec3> kernelA = buildOcclusionKernel();
    const std::vector<glm::vec3> noiseA = buildOcclusionNoise();
    std::srand(1);
    const std::vector<glm::vec3> kernelB = buildOcclusionKernel();
    const std::vector<glm::vec3> noiseB = buildOcclusionNoise();
    EXPECT_EQ(kernelA, kernelB);
    EXPECT_EQ(noiseA, noiseB);
    EXPECT_NE(kernelA, buildOcclusionKernel());
}

TEST(OcclusionNoise, HasSixteenFlatRotations) {
    std::srand(3);
    const std::vector<glm::vec3> noise = buildOcclusionNoise();
    ASSERT_EQ(noise.size(), 16u);
    for (const glm::vec3& v : noise) {
        EXPECT_EQ(v.z, 0.0f);
        EXPECT_LE(std::abs(v.x), 1.0f);
        EXPECT_LE(std::abs(v.y), 1.0f);
    }
}
