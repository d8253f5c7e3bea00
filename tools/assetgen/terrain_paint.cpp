// Albedo of the lightmapped ground, road and sidewalks, painted from world positions: dead grass and
// mud on the field, grit and broken concrete by the building, worn asphalt with faded markings,
// potholes and scorch marks, and cracked sidewalk slabs with weeds in the joints.
#include "paint_util.hpp"
#include "terrain_parts.hpp"

#include <cmath>

namespace {

using glm::vec3;

float scorchNear(const vec3& p, float x, float z, float radius) {
    const float d = glm::length(glm::vec2(p.x - x, p.z - z));
    return std::exp(-d * d / (radius * radius)) * (0.7f + 0.5f * fbm2(p.x * 1.3f, p.z * 1.3f, 3, 3401));
}

vec3 ground(const vec3& p, const vec3& n) {
    const float broad = fbm2(p.x * 0.05f, p.z * 0.05f, 4, 3411);
    const float mid = fbm2(p.x * 0.4f, p.z * 0.4f, 4, 3413);
    const float fine = valueNoise2(p.x * 8.0f, p.z * 8.0f, 3415);
    vec3 dirt = mix3(vec3(0.10f, 0.09f, 0.075f), vec3(0.19f, 0.17f, 0.14f), mid) * (0.8f + 0.4f * fine);
    // Large darker stretches of wet earth and ash.
    dirt = mix3(dirt, dirt * vec3(0.45f, 0.45f, 0.5f), smoothstepf(0.45f, 0.7f, broad));
    // Dead grass in tufts, more of it away from the street.
    const float grass = smoothstepf(0.42f, 0.62f, fbm2(p.x * 0.25f, p.z * 0.25f, 4, 3417) + 0.15f * broad);
    const float blades = valueNoise2(p.x * 30.0f, p.z * 6.0f, 3419);
    dirt = mix3(dirt, vec3(0.21f, 0.19f, 0.11f) * (0.6f + 0.6f * blades), grass * 0.75f);
    // Scattered stones and litter.
    const float stones = valueNoise2(p.x * 12.0f, p.z * 12.0f, 3425);
    if (stones > 0.82f)
        dirt = mix3(dirt, vec3(0.26f, 0.25f, 0.23f), smoothstepf(0.82f, 0.9f, stones));
    // Mud and standing water in the low field.
    if (p.y < -3.6f)
        dirt = mix3(dirt, vec3(0.08f, 0.08f, 0.07f),
                    patchesAt(p * vec3(1, 0, 1), 3.0f, 0.58f, 0.06f, 3421) * 0.9f);
    // Grit, gravel and concrete chips near the building and the street.
    const float nearBuilding = 1.0f - smoothstepf(2.0f, 10.0f,
                                                  std::max({kBuildingMinX - p.x, p.x - kBuildingMaxX,
                                                            kBuildingMinZ - p.z, p.z - kBuildingMaxZ, 0.0f}));
    const float nearStreet = 1.0f - smoothstepf(0.0f, 5.0f, std::max(p.x - kEastWalkX, 0.0f));
    const float grit = std::max(nearBuilding, 0.7f * nearStreet);
    const float heap = 1.0f - smoothstepf(2.0f, 7.0f, glm::length(glm::vec2(p.x + 6.0f, p.z + 19.0f)));
    const vec3 gravel =
        vec3(0.24f, 0.23f, 0.22f) * (0.5f + 0.8f * valueNoise2(p.x * 25.0f, p.z * 25.0f, 3423));
    dirt = mix3(dirt, gravel, std::max(grit * (0.4f + 0.5f * mid), heap));
    // Scorched ground around the burning cars.
    dirt = mix3(dirt, vec3(0.03f, 0.028f, 0.025f), clamp01(scorchNear(p, -10.0f, -30.0f, 4.0f)));
    // Steep banks show bare earth; the far hills fade into darkness.
    dirt = mix3(dirt, vec3(0.18f, 0.15f, 0.12f), smoothstepf(0.85f, 0.6f, n.y));
    const float r = glm::length(glm::vec2(p.x + 5.0f, p.z));
    dirt *= 1.0f - 0.45f * smoothstepf(60.0f, 110.0f, r);
    return dirt;
}

vec3 road(const vec3& p) {
    const float centre = 0.5f * (kRoadWestX + kRoadEastX);
    vec3 c = vec3(0.115f, 0.115f, 0.12f) * (0.8f + 0.4f * fbm2(p.x * 0.3f, p.z * 0.3f, 4, 3431));
    const float grit = valueNoise2(p.x * 70.0f, p.z * 70.0f, 3433);
    c *= 0.85f + 0.3f * grit;
    if (grit > 0.83f)
        c = vec3(0.26f, 0.25f, 0.24f);
    // Faded markings: dashed centre line and solid edge lines, worn away in patches.
    const float wear = smoothstepf(0.3f, 0.6f, fbm2(p.x * 2.0f, p.z * 0.7f, 4, 3435));
    const float dash = std::fmod(p.z + 1000.0f, 6.0f) < 3.0f ? 1.0f : 0.0f;
    float paint = 0.0f;
    if (std::fabs(p.x - centre) < 0.07f)
        paint = dash;
    if (std::fabs(p.x - (kRoadWestX + 0.3f)) < 0.06f || std::fabs(p.x - (kRoadEastX - 0.3f)) < 0.06f)
        paint = 1.0f;
    c = mix3(c, vec3(0.62f, 0.58f, 0.45f), paint * wear * 0.8f);
    // Cracks, tar-sealed seams, potholes holding black water.
    c *= 1.0f - 0.65f * cracksAt(p.x, p.z, 2.2f, 0.03f, 3437);
    c = mix3(c, vec3(0.05f, 0.05f, 0.055f), patchesAt(p * vec3(1, 0, 1), 0.6f, 0.74f, 0.02f, 3439));
    const float tar = std::fabs(std::fmod(p.z + 1000.0f, 17.0f) - 8.5f) < 0.08f ? 1.0f : 0.0f;
    c = mix3(c, vec3(0.05f), tar * 0.8f);
    // Manhole covers.
    for (float z : {-52.0f, -18.0f, 14.0f, 46.0f}) {
        const float d = glm::length(glm::vec2(p.x - (centre + 1.2f), p.z - z));
        if (d < 0.38f) {
            const float ring = std::fabs(std::fmod(d * 20.0f, 1.0f) - 0.5f);
            c = vec3(0.13f, 0.11f, 0.1f) * (0.7f + 0.5f * ring) * (d > 0.34f ? 0.5f : 1.0f);
        }
    }
    // Burn marks where wrecks have burnt, and skid marks.
    c = mix3(c, vec3(0.02f), clamp01(scorchNear(p, -22.0f, 7.7f, 2.8f)));
    c = mix3(c, vec3(0.02f), clamp01(0.7f * scorchNear(p, -23.5f, -41.0f, 3.0f)));
    const float skid = std::fabs(p.x - (centre - 0.9f + 0.08f * std::sin(p.z * 0.3f)));
    if (skid < 0.1f && p.z > -30.0f && p.z < -12.0f)
        c *= 0.6f;
    return c;
}

vec3 walk(const vec3& p) {
    // Slabs 1.2 long across the sidewalk, granite kerb stones along the road edge.
    const bool west = p.x < kRoadWestX;
    const float fromKerb = west ? kRoadWestX - p.x : p.x - kRoadEastX;
    if (fromKerb < 0.28f && fromKerb > 0.0f) {
        const float stone = std::floor(p.z / 0.9f);
        vec3 k = vec3(0.3f, 0.295f, 0.29f) * (0.85f + 0.25f * hashUnit(hash2i(int(stone), west, 3451)));
        k *= 0.85f + 0.3f * valueNoise2(p.x * 40.0f, p.z * 40.0f, 3453);
        if (std::fmod(p.z + 900.0f, 0.9f) < 0.025f)
            k *= 0.4f;
        return k;
    }
    if (p.x < kWestWalkX)
        return concreteAt(p, vec3(0.36f, 0.35f, 0.33f), 3455); // top of the retaining wall
    const float row = std::floor(p.z / 1.2f), col = std::floor((p.x + 100.0f) / 1.2f);
    const uint32_t h = hash2i(int(row), int(col), 3457);
    vec3 c = vec3(0.25f, 0.245f, 0.235f) * (0.8f + 0.3f * hashUnit(h));
    c *= 0.85f + 0.3f * fbm2(p.x * 2.0f, p.z * 2.0f, 3, 3459);
    c *= 0.85f + 0.3f * valueNoise2(p.x * 50.0f, p.z * 50.0f, 3461);
    c *= 1.0f - 0.6f * cracksAt(p.x, p.z, 0.9f, 0.015f, 3463) * float(hashUnit(hash32(h)) > 0.55f);
    const float fx = std::fmod(p.z + 1200.0f, 1.2f), fz = std::fmod(p.x + 1200.0f, 1.2f);
    if (std::min(std::min(fx, 1.2f - fx), std::min(fz, 1.2f - fz)) < 0.03f)
        c = mix3(vec3(0.07f, 0.07f, 0.06f), vec3(0.14f, 0.16f, 0.08f), valueNoise2(p.x * 20, p.z * 20, 3465));
    c = mix3(c, c * vec3(0.6f, 0.55f, 0.48f), patchesAt(p, 1.5f, 0.55f, 0.15f, 3467));
    c = mix3(c, vec3(0.02f), clamp01(scorchNear(p, -20.0f, 8.0f, 2.6f)));
    return c;
}

} // namespace

glm::vec3 paintTerrain(const SurfacePoint& sp, const Chart& chart) {
    switch (chart.material) {
    case kRoadSurface:
        return road(sp.position);
    case kWalkSurface:
        return walk(sp.position);
    default:
        return ground(sp.position, sp.normal);
    }
}
