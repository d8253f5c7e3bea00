// Pattern helpers for painters.
#include "paint_util.hpp"

#include <cmath>

glm::vec3 concreteAt(const glm::vec3& p, const glm::vec3& tint, uint32_t seed) {
    const float broad = fbm3(p.x * 0.35f, p.y * 0.35f, p.z * 0.35f, 4, seed);
    const float mid = fbm3(p.x * 3.0f, p.y * 3.0f, p.z * 3.0f, 3, seed + 1);
    const float fine = valueNoise3(p.x * 40.0f, p.y * 40.0f, p.z * 40.0f, seed + 2);
    glm::vec3 c = tint * (0.78f + 0.35f * broad) * (0.9f + 0.2f * mid) * (0.9f + 0.2f * fine);
    if (valueNoise3(p.x * 90.0f, p.y * 90.0f, p.z * 90.0f, seed + 3) > 0.86f)
        c *= 0.65f;
    return c;
}

float cracksAt(float x, float y, float scale, float width, uint32_t seed) {
    // Two nearest feature distances: a crack runs where they are nearly equal.
    const float sx = x / scale, sy = y / scale;
    const int ix = int(std::floor(sx)), iy = int(std::floor(sy));
    float f1 = 9.0f, f2 = 9.0f;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const uint32_t h = hash2i(ix + dx, iy + dy, seed);
            const float px = float(ix + dx) + hashUnit(h), py = float(iy + dy) + hashUnit(hash32(h));
            const float d = std::sqrt((px - sx) * (px - sx) + (py - sy) * (py - sy));
            if (d < f1) {
                f2 = f1;
                f1 = d;
            } else if (d < f2) {
                f2 = d;
            }
        }
    const float wobble = 0.6f + 0.8f * valueNoise2(sx * 6.0f, sy * 6.0f, seed + 5);
    return 1.0f - smoothstepf(0.0f, width * wobble / scale, f2 - f1);
}

float patchesAt(const glm::vec3& p, float scale, float threshold, float softness, uint32_t seed) {
    const float n = fbm3(p.x / scale, p.y / scale, p.z / scale, 4, seed);
    return smoothstepf(threshold, threshold + softness, n);
}

float streaksAt(float across, float drop, float length, uint32_t seed) {
    if (drop < 0.0f || drop > length)
        return 0.0f;
    const float lines = valueNoise2(across * 9.0f, drop * 0.25f, seed);
    const float fade = 1.0f - drop / length;
    return smoothstepf(0.45f, 0.8f, lines) * fade * fade;
}
