// The ground's shape: rolling waste land that falls away west of the street to a lower field, rises to
// hills near the horizon, and is levelled under the street, the cars, the trees and the lamps so that
// every fixed placement of the scene stands on it.
#include "terrain_parts.hpp"

#include "noise.hpp"

#include <algorithm>
#include <cmath>

namespace {

struct Pad {
    float x, z, y, inner, outer;
};

// Ground levels the scene's fixed placements need (car wheels reach 0.225 below their origin, tree
// trunks continue below theirs).
const Pad kPads[] = {
    {-10.0f, -30.0f, -1.72f, 3.2f, 6.0f},  // car B
    {-40.0f, 6.0f, -4.22f, 3.2f, 6.0f},    // car C
    {-6.0f, -19.0f, 1.62f, 1.5f, 7.5f},    // tree 1 on a heap of rubble
    {-10.0f, 15.0f, -0.38f, 1.2f, 4.0f},   // tree 2
    {-40.0f, -5.0f, -3.42f, 1.2f, 4.0f},   // tree 3
    {20.0f, 25.0f, -2.38f, 1.2f, 4.0f},    // tree 4
    {-31.0f, 20.0f, -4.35f, 1.5f, 3.0f},   // tree 5, below the retaining wall
    {-10.0f, -35.0f, -0.38f, 1.2f, 4.0f},  // tree 6
    {-15.3f, -14.66f, -1.36f, 1.0f, 2.5f}, // lamp 1
    {-17.5f, 17.6f, -1.42f, 1.5f, 3.0f},   // the leaning window
};

float natural(float x, float z) {
    float h = -1.1f + 1.6f * (fbm2(x * 0.018f, z * 0.018f, 4, 3101) - 0.5f) +
              0.5f * (fbm2(x * 0.09f, z * 0.09f, 3, 3103) - 0.5f);
    // Hills around the horizon, higher behind the building than behind the field.
    const float r = std::sqrt((x + 5.0f) * (x + 5.0f) + z * z);
    const float ridge = 2.5f + 6.0f * fbm2(std::atan2(z, x + 5.0f) * 2.5f, 1.5f, 3, 3105);
    h += smoothstepf(78.0f, 116.0f, r) * ridge;
    return h;
}

} // namespace

float groundHeight(float x, float z) {
    float h = natural(x, z);
    // The lower field west of the street, held up by the retaining wall between x = -29.35 and -29.
    const float west = smoothstepf(-29.0f, -29.35f, x);
    // The field: uneven, with dumped heaps of earth and a drainage ditch along the wall.
    float field = kLowLandY + 0.9f * (fbm2(x * 0.05f, z * 0.05f, 3, 3107) - 0.5f) +
                  smoothstepf(-50.0f, -75.0f, x) * 3.0f;
    field +=
        1.4f * smoothstepf(0.62f, 0.8f, fbm2(x * 0.12f, z * 0.12f, 3, 3109)) * smoothstepf(-33.0f, -38.0f, x);
    field -= 0.35f * std::exp(-(x + 31.0f) * (x + 31.0f) / 1.5f);
    h = mixf(h, field, west);
    // Level ground around the building's foot.
    const float dx = std::max({kBuildingMinX - 1.5f - x, x - kBuildingMaxX - 1.5f, 0.0f});
    const float dz = std::max({kBuildingMinZ - 1.5f - z, z - kBuildingMaxZ - 1.5f, 0.0f});
    h = mixf(-1.2f, h, smoothstepf(0.0f, 6.0f, std::sqrt(dx * dx + dz * dz)));
    for (const Pad& p : kPads) {
        const float d = std::sqrt((x - p.x) * (x - p.x) + (z - p.z) * (z - p.z));
        h = mixf(p.y, h, smoothstepf(p.inner, p.outer, d));
    }
    // The street corridor is flat and just below the road and sidewalk meshes laid on top of it; east
    // of it the ground meets the sidewalk's outer edge.
    if (x > -18.0f)
        return mixf(kWalkY - 0.03f, h, smoothstepf(-18.0f, -12.0f, x));
    if (x >= -29.0f)
        return (x > kRoadWestX - 0.2f && x < kRoadEastX + 0.2f) ? kRoadY - 0.2f : kWalkY - 0.12f;
    return h;
}

GroundGrid makeGroundGrid() {
    auto axis = [](float lo, float hi, float denseLo, float denseHi, std::vector<float> breaks) {
        std::vector<float> v;
        float x = lo;
        while (x < hi) {
            v.push_back(x);
            const float gap = std::max(denseLo - x, x - denseHi);
            x += std::clamp(1.5f + 0.12f * gap, 1.5f, 9.0f);
        }
        v.push_back(hi);
        v.insert(v.end(), breaks.begin(), breaks.end());
        std::sort(v.begin(), v.end());
        std::vector<float> out;
        for (float f : v)
            if (out.empty() || f - out.back() > 0.1f)
                out.push_back(f);
        return out;
    };
    GroundGrid g;
    g.xs = axis(kTerrainMinX, kTerrainMaxX, -45.0f, 25.0f,
                {-29.35f, -29.0f, kRoadWestX, kRoadEastX, -18.0f, kBuildingMinX, kBuildingMaxX});
    g.zs = axis(kTerrainMinZ, kTerrainMaxZ, -60.0f, 50.0f, {kBuildingMinZ, kBuildingMaxZ});
    g.heights.resize(g.xs.size() * g.zs.size());
    for (size_t iz = 0; iz < g.zs.size(); ++iz)
        for (size_t ix = 0; ix < g.xs.size(); ++ix)
            g.heights[iz * g.xs.size() + ix] = groundHeight(g.xs[ix], g.zs[iz]);
    return g;
}

float GroundGrid::meshHeight(float x, float z) const {
    const size_t ix =
        std::clamp<size_t>(size_t(std::upper_bound(xs.begin(), xs.end(), x) - xs.begin()), 1, xs.size() - 1) -
        1;
    const size_t iz =
        std::clamp<size_t>(size_t(std::upper_bound(zs.begin(), zs.end(), z) - zs.begin()), 1, zs.size() - 1) -
        1;
    const float fx = std::clamp((x - xs[ix]) / (xs[ix + 1] - xs[ix]), 0.0f, 1.0f);
    const float fz = std::clamp((z - zs[iz]) / (zs[iz + 1] - zs[iz]), 0.0f, 1.0f);
    const float h00 = at(ix, iz), h10 = at(ix + 1, iz), h01 = at(ix, iz + 1), h11 = at(ix + 1, iz + 1);
    // Cells are split along the diagonal from (0,0) to (1,1), as the mesh is built.
    if (fx >= fz)
        return h00 + fx * (h10 - h00) + fz * (h11 - h10);
    return h00 + fz * (h01 - h00) + fx * (h11 - h01);
}

GroundWarp makeGroundWarp(float lo, float hi, float denseLo, float denseHi) {
    GroundWarp w;
    const int steps = 512;
    float acc = 0.0f;
    for (int i = 0; i <= steps; ++i) {
        const float x = lo + (hi - lo) * float(i) / float(steps);
        if (i > 0) {
            const float mid = x - 0.5f * (hi - lo) / float(steps);
            const float gap = std::max({denseLo - mid, mid - denseHi, 0.0f});
            acc += (hi - lo) / float(steps) / (1.0f + 0.15f * gap);
        }
        w.world.push_back(x);
        w.warped.push_back(acc);
    }
    return w;
}

namespace {

float lookup(const std::vector<float>& from, const std::vector<float>& to, float v) {
    const size_t i = std::clamp<size_t>(size_t(std::upper_bound(from.begin(), from.end(), v) - from.begin()),
                                        1, from.size() - 1) -
                     1;
    const float f = (v - from[i]) / (from[i + 1] - from[i]);
    return to[i] + f * (to[i + 1] - to[i]);
}

} // namespace

float GroundWarp::toWarped(float v) const {
    return lookup(world, warped, v);
}
float GroundWarp::toWorld(float s) const {
    return lookup(warped, world, s);
}
