// The lightmap atlas packer: charts with their gutters never overlap or leave the atlas, whatever their
// shapes, and charts that cannot fit are refused rather than written over each other.
#include "atlas.hpp"

#include <gtest/gtest.h>

namespace {

AtlasMesh chartsOfSizes(const std::vector<glm::vec2>& sizes, int atlasSize) {
    AtlasMesh a;
    a.lightmapSize = atlasSize;
    for (const glm::vec2& s : sizes)
        a.addPlanarChart({0, 0, 0}, {1, 0, 0}, {0, 0, 1}, s.x, s.y, 0);
    return a;
}

} // namespace

TEST(AtlasLayout, ChartsWithTheirGuttersNeitherOverlapNorLeaveTheAtlas) {
    // Long thin charts (beams), squares (floors) and slivers (reveals) together.
    AtlasMesh a = chartsOfSizes({{5.0f, 0.4f},
                                 {0.4f, 5.0f},
                                 {6, 6},
                                 {3, 2},
                                 {0.3f, 0.3f},
                                 {5, 1},
                                 {1, 5},
                                 {2, 2},
                                 {3, 3},
                                 {4, 2.5f},
                                 {1, 1}},
                                256);
    const float density = layoutAtlas(a);
    ASSERT_GT(density, 0.0f);
    std::vector<int> owner(256 * 256, -1);
    for (size_t i = 0; i < a.charts.size(); ++i) {
        const Chart& c = a.charts[i];
        EXPECT_EQ(c.rotated, c.height > c.width) << "chart " << i;
        for (int y = c.y - kAtlasGutter; y < c.y + c.h + kAtlasGutter; ++y)
            for (int x = c.x - kAtlasGutter; x < c.x + c.w + kAtlasGutter; ++x) {
                ASSERT_TRUE(x >= 0 && y >= 0 && x < 256 && y < 256) << "chart " << i << " leaves the atlas";
                EXPECT_EQ(owner[y * 256 + x], -1)
                    << "charts " << owner[y * 256 + x] << " and " << i << " overlap";
                owner[y * 256 + x] = int(i);
            }
    }
    // Packing is tight enough to be worth it: at least half the atlas carries chart interiors.
    float used = 0.0f;
    for (const Chart& c : a.charts)
        used += float(c.w * c.h);
    EXPECT_GT(used / (256.0f * 256.0f), 0.5f);
}

TEST(AtlasLayout, ChartsTooLargeForTheAtlasAreRefused) {
    AtlasMesh a = chartsOfSizes({{1, 1}}, 4); // the gutter alone leaves no room
    EXPECT_EQ(layoutAtlas(a), 0.0f);
}
