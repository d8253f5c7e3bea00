// Deterministic noise for procedural textures and shapes: integer hashing, value noise, fractal sums and
// a small seeded generator, all independent of the C library's random state and of thread order.
#pragma once

#include <cstdint>

uint32_t hash32(uint32_t x);
uint32_t hash2i(int x, int y, uint32_t seed);
uint32_t hash3i(int x, int y, int z, uint32_t seed);
// Uniform in [0, 1) from a hash.
inline float hashUnit(uint32_t h) {
    return float(h >> 8) * (1.0f / 16777216.0f);
}

// Smooth value noise in [0, 1].
float valueNoise2(float x, float y, uint32_t seed);
float valueNoise3(float x, float y, float z, uint32_t seed);
// Sum of `octaves` octaves (frequency doubling, amplitude halving), normalised to [0, 1].
float fbm2(float x, float y, int octaves, uint32_t seed);
float fbm3(float x, float y, float z, int octaves, uint32_t seed);

// Small deterministic generator for shapes (tree branching, debris placement).
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint32_t next();
    float unit() { return float(next() >> 8) * (1.0f / 16777216.0f); }
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
};

inline float smoothstepf(float e0, float e1, float x) {
    float t = (x - e0) / (e1 - e0);
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return t * t * (3.0f - 2.0f * t);
}
inline float clamp01(float x) {
    return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
}
inline float mixf(float a, float b, float t) {
    return a + (b - a) * t;
}

// Periodic variants for seamless tiling textures: the pattern repeats every `period` units (an integer
// number of lattice cells) in x and y.
float tiledNoise2(float x, float y, int period, uint32_t seed);
float tiledFbm2(float x, float y, int period, int octaves, uint32_t seed);
// Distance to the nearest and second-nearest feature point of a periodic jittered grid.
void tiledCellular2(float x, float y, int period, uint32_t seed, float& f1, float& f2);
