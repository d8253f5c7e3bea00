// The asset generator's geometry bookkeeping: chart packing and the texel-to-surface mapping that the
// diffuse painter and the lightmap baker share, cell panels (walls and slabs with holes), and the
// lightmap encoding.
#include "atlas.hpp"
#include "cell_panel.hpp"
#include "lightmap_encoding.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

AtlasMesh chartsOfSizes(const std::vector<glm::vec2>& sizes, int atlasSize) {
    AtlasMesh a;
    a.lightmapSize = atlasSize;
    for (const glm::vec2& s : sizes)
        a.addPlanarChart({0, 0, 0}, {1, 0, 0}, {0, 0, 1}, s.x, s.y, 0);
    return a;
}

float quadArea(const MeshData& m, size_t firstIndex) {
    const glm::vec3 a = m.positions[m.indices[firstIndex]], b = m.positions[m.indices[firstIndex + 1]],
                    c = m.positions[m.indices[firstIndex + 2]];
    return 0.5f * glm::length(glm::cross(b - a, c - a));
}

float totalArea(const MeshData& m) {
    float sum = 0.0f;
    for (size_t i = 0; i + 2 < m.indices.size(); i += 3)
        sum += quadArea(m, i);
    return sum;
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

TEST(AtlasLayout, MeshTextureCoordinatesPointAtTheirChartsSurface) {
    AtlasMesh a;
    a.lightmapSize = 64;
    addAtlasQuad(a, {10, 0, 0}, {0, 0, 1}, {0, -1, 0}, 4.0f, 1.5f, 0); // a wall facing -x
    addAtlasQuad(a, {0, 2, 0}, {1, 0, 0}, {0, 0, -1}, 1.0f, 3.0f, 0);  // a floor facing +y
    ASSERT_GT(layoutAtlas(a), 0.0f);
    const std::vector<int> owner = atlasOwnerMap(a);
    for (size_t v = 0; v < a.mesh.positions.size(); ++v) {
        // The texel under each corner (nudged inside) maps back to that corner's position.
        const glm::vec2 texel = a.mesh.uvs[v] * 64.0f;
        const Chart& c = a.charts[a.mesh.charts[v]];
        const glm::vec2 centre(c.x + 0.5f * c.w, c.y + 0.5f * c.h);
        const glm::vec2 inside = texel + glm::normalize(centre - texel) * 0.01f;
        glm::vec2 local;
        ASSERT_EQ(atlasTexelToChart(a, owner, inside.x, inside.y, 0.0f, local), a.mesh.charts[v]);
        const SurfacePoint sp = c.surface(local.x, local.y);
        EXPECT_LT(glm::length(sp.position - a.mesh.positions[v]), 0.05f) << "vertex " << v;
        EXPECT_LT(glm::length(sp.normal - a.mesh.normals[v]), 1e-4f);
    }
    // Gutter texels repeat the chart's edge instead of reaching past it.
    const Chart& c = a.charts[0];
    glm::vec2 local;
    ASSERT_EQ(atlasTexelToChart(a, owner, float(c.x) - 1.5f, float(c.y) - 1.5f, 0.5f, local), 0);
    EXPECT_GE(local.x, 0.0f);
    EXPECT_GE(local.y, 0.0f);
}

TEST(AtlasLayout, ChartsTooLargeForTheAtlasAreRefused) {
    AtlasMesh a = chartsOfSizes({{1, 1}}, 4); // the gutter alone leaves no room
    EXPECT_EQ(layoutAtlas(a), 0.0f);
}

TEST(CellPanel, FacesCoverExactlyTheSolidCellsAndRevealsLineTheHole) {
    CellPanel p;
    p.origin = {0, 0, 0};
    p.uAxis = {1, 0, 0};
    p.vAxis = {0, 1, 0};
    p.width = 6.0f;
    p.height = 3.0f;
    p.thickness = 0.3f;
    cutPanel(p, {{1.0f, 1.0f, 2.5f, 2.0f}, {4.0f, 0.5f, 5.0f, 2.5f}});
    MeshData front, back, edges;
    emitPanelFaces(p, false, 0.0f, p.height, front, -1, 1.0f);
    emitPanelFaces(p, true, 0.0f, p.height, back, -1, 1.0f);
    emitPanelEdges(p, PanelOutline{}, edges, 1.0f);
    const float solid = 6.0f * 3.0f - 1.5f * 1.0f - 1.0f * 2.0f;
    EXPECT_NEAR(totalArea(front), solid, 1e-3f);
    EXPECT_NEAR(totalArea(back), solid, 1e-3f);
    // Two holes: perimeters 5 and 6, times the thickness.
    EXPECT_NEAR(totalArea(edges), (5.0f + 6.0f) * 0.3f, 1e-3f);
    for (size_t i = 0; i + 2 < front.indices.size(); i += 3) {
        const glm::vec3 a = front.positions[front.indices[i]], b = front.positions[front.indices[i + 1]],
                        c = front.positions[front.indices[i + 2]];
        EXPECT_GT(glm::cross(b - a, c - a).z, 0.0f) << "front faces wind towards the normal";
    }
    // Every reveal faces into the hole it lines, away from the solid wall.
    for (size_t i = 0; i + 2 < edges.indices.size(); i += 3) {
        const glm::vec3 n = edges.normals[edges.indices[i]];
        const glm::vec3 centre = (edges.positions[edges.indices[i]] + edges.positions[edges.indices[i + 1]] +
                                  edges.positions[edges.indices[i + 2]]) /
                                 3.0f;
        const glm::vec3 probe = centre + n * 0.05f;
        const bool inHole = (probe.x > 1.0f && probe.x < 2.5f && probe.y > 1.0f && probe.y < 2.0f) ||
                            (probe.x > 4.0f && probe.x < 5.0f && probe.y > 0.5f && probe.y < 2.5f);
        EXPECT_TRUE(inHole) << "reveal at " << centre.x << ", " << centre.y;
    }
}

TEST(LightmapEncoding, DecodingInvertsEncodingAndDarkStaysDark) {
    for (float e : {0.0f, 0.02f, 0.1f, 0.5f, 1.0f, 2.0f}) {
        const glm::vec3 texel = encodeLightmap(glm::vec3(e));
        EXPECT_GE(texel.x, 0.0f);
        EXPECT_LT(texel.x, 1.0f);
        EXPECT_NEAR(decodeLightmap(texel).x, e, 1e-3f + 0.01f * e);
    }
    EXPECT_LT(encodeLightmap(glm::vec3(0.1f)).x, encodeLightmap(glm::vec3(0.2f)).x);
    EXPECT_EQ(encodeLightmap(glm::vec3(0.0f)).x, 0.0f);
}
