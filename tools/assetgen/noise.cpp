// Hash-based noise: every value depends only on its inputs and seed.
#include "noise.hpp"

#include <cmath>

uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

// One mixing round over a linear combination of the coordinates: cheap, and random enough for
// texture noise (these run hundreds of millions of times per generation).
uint32_t hash2i(int x, int y, uint32_t seed) {
    return hash32(uint32_t(x) * 0x8da6b343U + uint32_t(y) * 0xd8163841U + seed * 0x9E3779B9U);
}

uint32_t hash3i(int x, int y, int z, uint32_t seed) {
    return hash32(uint32_t(x) * 0x8da6b343U + uint32_t(y) * 0xd8163841U + uint32_t(z) * 0xcb1ab31fU +
                  seed * 0x9E3779B9U);
}

namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

} // namespace

float valueNoise2(float x, float y, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const float tx = fade(x - fx), ty = fade(y - fy);
    const float a = hashUnit(hash2i(ix, iy, seed)), b = hashUnit(hash2i(ix + 1, iy, seed));
    const float c = hashUnit(hash2i(ix, iy + 1, seed)), d = hashUnit(hash2i(ix + 1, iy + 1, seed));
    return mixf(mixf(a, b, tx), mixf(c, d, tx), ty);
}

float valueNoise3(float x, float y, float z, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int ix = int(fx), iy = int(fy), iz = int(fz);
    const float tx = fade(x - fx), ty = fade(y - fy), tz = fade(z - fz);
    float v[2];
    for (int k = 0; k < 2; ++k) {
        const float a = hashUnit(hash3i(ix, iy, iz + k, seed)),
                    b = hashUnit(hash3i(ix + 1, iy, iz + k, seed));
        const float c = hashUnit(hash3i(ix, iy + 1, iz + k, seed));
        const float d = hashUnit(hash3i(ix + 1, iy + 1, iz + k, seed));
        v[k] = mixf(mixf(a, b, tx), mixf(c, d, tx), ty);
    }
    return mixf(v[0], v[1], tz);
}

float fbm2(float x, float y, int octaves, uint32_t seed) {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise2(x, y, seed + uint32_t(o) * 101u);
        norm += amp;
        amp *= 0.5f;
        // Rotate between octaves to hide the grid.
        const float nx = 1.6f * x + 1.2f * y + 17.0f, ny = -1.2f * x + 1.6f * y + 31.0f;
        x = nx;
        y = ny;
    }
    return sum / norm;
}

float fbm3(float x, float y, float z, int octaves, uint32_t seed) {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise3(x, y, z, seed + uint32_t(o) * 101u);
        norm += amp;
        amp *= 0.5f;
        x = x * 2.03f + 7.1f;
        y = y * 2.03f + 3.3f;
        z = z * 2.03f + 5.9f;
    }
    return sum / norm;
}

uint32_t Rng::next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    const uint32_t xorshifted = uint32_t(((state >> 18u) ^ state) >> 27u);
    const uint32_t rot = uint32_t(state >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

namespace {

int wrapIndex(int i, int period) {
    return ((i % period) + period) % period;
}

} // namespace

float tiledNoise2(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const float tx = fade(x - fx), ty = fade(y - fy);
    const int x0 = wrapIndex(ix, period), x1 = wrapIndex(ix + 1, period);
    const int y0 = wrapIndex(iy, period), y1 = wrapIndex(iy + 1, period);
    const float a = hashUnit(hash2i(x0, y0, seed)), b = hashUnit(hash2i(x1, y0, seed));
    const float c = hashUnit(hash2i(x0, y1, seed)), d = hashUnit(hash2i(x1, y1, seed));
    return mixf(mixf(a, b, tx), mixf(c, d, tx), ty);
}

float tiledFbm2(float x, float y, int period, int octaves, uint32_t seed) {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * tiledNoise2(x, y, period, seed + uint32_t(o) * 101u);
        norm += amp;
        amp *= 0.5f;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
    }
    return sum / norm;
}

void tiledCellular2(float x, float y, int period, uint32_t seed, float& f1, float& f2) {
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    f1 = f2 = 9.0f;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const uint32_t h = hash2i(wrapIndex(ix + dx, period), wrapIndex(iy + dy, period), seed);
            const float px = float(ix + dx) + 0.1f + 0.8f * hashUnit(h);
            const float py = float(iy + dy) + 0.1f + 0.8f * hashUnit(hash32(h));
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < f1) {
                f2 = f1;
                f1 = d;
            } else if (d < f2) {
                f2 = d;
            }
        }
}
