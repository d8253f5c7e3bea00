// The car body's texture: paint that has faded to a dull oxblood, rust eating through it, and large
// burnt areas of black and grey ash from the fire, with door seams, handles and lamps drawn in.
#include "car_parts.hpp"
#include "image.hpp"
#include "noise.hpp"
#include "paint_util.hpp"

#include <cmath>

namespace {

using glm::vec3;

constexpr float kHalfLength = 1.6f, kTopHalfWidth = 0.7f;

} // namespace

glm::vec2 carBodyUv(const glm::vec3& p, const glm::vec3& n) {
    const glm::vec3 a = glm::abs(n);
    if (a.y >= a.x && a.y >= a.z)
        return {(p.x + kHalfLength) / (2 * kHalfLength) * 0.5f,
                0.5f + (p.z + kTopHalfWidth) / (2 * kTopHalfWidth) * 0.5f};
    if (a.z >= a.x) {
        const float along = n.z > 0.0f ? p.x + kHalfLength : kHalfLength - p.x;
        return {(n.z > 0.0f ? 0.0f : 0.5f) + along / (2 * kHalfLength) * 0.5f, (1.1f - p.y) / 1.1f * 0.5f};
    }
    const float across = n.x > 0.0f ? p.z + kTopHalfWidth : kTopHalfWidth - p.z;
    return {(n.x > 0.0f ? 0.5f : 0.75f) + across / (2 * kTopHalfWidth) * 0.25f,
            0.5f + (0.8f - p.y) / 0.8f * 0.5f};
}

namespace {

// The body point a texel stands for, inverting carBodyUv region by region.
vec3 texelToPoint(float u, float v, int& region) {
    if (v < 0.5f) {
        region = u < 0.5f ? 0 : 1;
        const float along = (u - (region == 0 ? 0.0f : 0.5f)) / 0.5f * 2 * kHalfLength;
        const float x = region == 0 ? along - kHalfLength : kHalfLength - along;
        return {x, 1.1f - v / 0.5f * 1.1f, region == 0 ? 0.64f : -0.64f};
    }
    if (u < 0.5f) {
        region = 2;
        return {u / 0.5f * 2 * kHalfLength - kHalfLength, 0.8f,
                (v - 0.5f) / 0.5f * 2 * kTopHalfWidth - kTopHalfWidth};
    }
    region = u < 0.75f ? 3 : 4;
    const float across = (u - (region == 3 ? 0.5f : 0.75f)) / 0.25f * 2 * kTopHalfWidth;
    return {region == 3 ? 1.5f : -1.5f, 0.8f - (v - 0.5f) / 0.5f * 0.8f,
            region == 3 ? across - kTopHalfWidth : kTopHalfWidth - across};
}

} // namespace

void paintCarBody(Image& color) {
    const int w = color.width, h = color.height;
    parallelRows(h, [&](int y) {
        for (int x = 0; x < w; ++x) {
            int region = 0;
            const vec3 p = texelToPoint((float(x) + 0.5f) / float(w), (float(y) + 0.5f) / float(h), region);
            const vec3 q = p * 3.0f;
            vec3 paint = vec3(0.22f, 0.06f, 0.05f) * (0.8f + 0.3f * fbm3(q.x, q.y, q.z, 4, 4201));
            paint = mix3(paint, vec3(0.32f, 0.25f, 0.22f),
                         0.5f * smoothstepf(0.4f, 0.8f, fbm3(q.x * 0.5f, q.y, q.z, 3, 4203)));
            const float rust = smoothstepf(
                0.4f, 0.7f, fbm3(q.x * 0.6f, q.y * 0.8f, q.z * 0.6f, 5, 4205) + 0.2f * (0.45f - p.y));
            vec3 c = mix3(paint,
                          vec3(0.15f, 0.08f, 0.045f) *
                              (0.7f + 0.5f * valueNoise3(q.x * 30, q.y * 30, q.z * 30, 4207)),
                          rust);
            // The fire burnt the paint off from the cabin and bonnet down.
            const float burnt = smoothstepf(
                0.22f, 0.62f, fbm3(q.x * 0.25f, q.y * 0.25f, q.z * 0.25f, 4, 4209) + 0.35f * (p.y - 0.5f));
            const vec3 ash = mix3(vec3(0.035f, 0.032f, 0.03f), vec3(0.09f, 0.085f, 0.08f),
                                  fbm3(q.x * 0.5f, q.y * 0.5f, q.z * 0.5f, 4, 4211));
            c = mix3(c, ash, burnt);
            if (region <= 1) {
                // Door seams, handles and the rubber strip below the windows.
                for (float seam : {0.55f, 0.05f, -0.62f})
                    if (std::fabs(p.x - seam) < 0.008f && p.y > 0.12f && p.y < 0.72f)
                        c *= 0.25f;
                for (float handle : {-0.02f, -0.7f})
                    if (std::fabs(p.x - handle) < 0.06f && std::fabs(p.y - 0.6f) < 0.012f)
                        c = vec3(0.12f);
                if (p.y > 0.7f && p.y < 0.74f)
                    c = vec3(0.03f);
                if (p.y < 0.18f)
                    c *= 0.5f; // road dirt along the sills
            }
            if (region >= 3) {
                const float side = std::fabs(p.z);
                const bool front = region == 3;
                const float lampY = front ? 0.45f : 0.5f;
                const float d = glm::length(glm::vec2(side - 0.45f, p.y - lampY));
                if (front && d < 0.1f)
                    c = d < 0.08f ? vec3(0.35f, 0.36f, 0.35f) *
                                        (0.6f + 0.4f * valueNoise2(p.z * 50, p.y * 50, 4213))
                                  : vec3(0.05f);
                if (!front && std::fabs(side - 0.45f) < 0.12f && std::fabs(p.y - lampY) < 0.06f)
                    c = vec3(0.28f, 0.03f, 0.02f);
                if (front && side < 0.3f && p.y > 0.3f && p.y < 0.52f)
                    c = (std::fmod(p.y * 40.0f, 1.0f) < 0.5f) ? vec3(0.04f) : vec3(0.18f, 0.17f, 0.16f);
            }
            c *= 0.85f + 0.3f * valueNoise3(q.x * 20, q.y * 20, q.z * 20, 4215);
            color.at(x, y) = c;
        }
    });
}
