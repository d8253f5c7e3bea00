// The occlusion kernel and noise drawn from the C library generator: the draws stay in [0, 1] on this
// C library, the kernel covers the hemisphere, and the same generator state gives the same values.
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

// The occlusion shader indexes 32 samples and orients them along the surface normal (z).
TEST(OcclusionKernel, HasThirtyTwoSamplesSpreadOverTheUpperHemisphere) {
    std::srand(1);
    const std::vector<glm::vec3> kernel = buildOcclusionKernel();
    ASSERT_EQ(kernel.size(), 32u);
    float smallestX = 1.0f, largestX = -1.0f;
    for (const glm::vec3& sample : kernel) {
        EXPECT_GE(sample.z, 0.0f);
        EXPECT_LE(glm::length(sample), 1.0f);
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
