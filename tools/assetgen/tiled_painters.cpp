// Painters for the tiling material textures. Every pattern is built from periodic noise so the
// textures repeat without seams; colours are kept dark and desaturated for the night scene.
#include "noise.hpp"
#include "texture_library.hpp"

#include <cmath>

namespace {

using glm::vec3;

vec3 mix3(const vec3& a, const vec3& b, float t) {
    return a + (b - a) * t;
}

// Thin dark lines along the borders of periodic cells: cracks.
float crackMask(float u, float v, int period, uint32_t seed, float width) {
    float f1, f2;
    tiledCellular2(u * period, v * period, period, seed, f1, f2);
    return 1.0f - smoothstepf(0.0f, width, f2 - f1);
}

TexelSample concrete(float u, float v, uint32_t seed, float burnt) {
    const float base = tiledFbm2(u * 8, v * 8, 8, 5, seed);
    const float fine = tiledNoise2(u * 128, v * 128, 128, seed + 7);
    const float pores = tiledNoise2(u * 256, v * 256, 256, seed + 9);
    vec3 c = mix3(vec3(0.33f, 0.32f, 0.30f), vec3(0.50f, 0.49f, 0.46f), base);
    c *= 0.88f + 0.24f * fine;
    if (pores > 0.82f)
        c *= 0.6f;
    const float stain = smoothstepf(0.55f, 0.8f, tiledFbm2(u * 4, v * 4, 4, 4, seed + 3));
    c = mix3(c, c * vec3(0.7f, 0.68f, 0.62f), stain);
    c *= 1.0f - 0.6f * crackMask(u, v, 6, seed + 11, 0.025f);
    const float soot = burnt * smoothstepf(0.3f, 0.7f, tiledFbm2(u * 3, v * 3, 3, 4, seed + 5));
    c = mix3(c, vec3(0.05f, 0.045f, 0.04f), soot);
    return {c};
}

TexelSample plaster(float u, float v) {
    const float n = tiledFbm2(u * 6, v * 6, 6, 5, 21);
    vec3 c = mix3(vec3(0.50f, 0.52f, 0.46f), vec3(0.62f, 0.62f, 0.57f), n);
    const float peel = smoothstepf(0.62f, 0.66f, tiledFbm2(u * 3, v * 3, 3, 5, 23));
    c = mix3(c, concrete(u, v, 25, 0.0f).color * 0.9f, peel);
    const float damp = smoothstepf(0.5f, 0.9f, tiledFbm2(u * 2, v * 5, 2, 4, 27)) * 0.5f;
    c = mix3(c, c * vec3(0.65f, 0.6f, 0.5f), damp);
    return {c};
}

TexelSample rustMetal(float u, float v) {
    const float n = tiledFbm2(u * 8, v * 8, 8, 6, 31);
    const float paintMask = smoothstepf(0.5f, 0.56f, tiledFbm2(u * 5, v * 5, 5, 5, 33));
    vec3 rust = mix3(vec3(0.09f, 0.06f, 0.045f), vec3(0.22f, 0.13f, 0.08f), n);
    rust *= 0.8f + 0.4f * tiledNoise2(u * 200, v * 200, 200, 35);
    const vec3 paint = vec3(0.16f, 0.21f, 0.21f) * (0.85f + 0.3f * n);
    const float streak = tiledNoise2(u * 64, v * 2, 64, 37);
    vec3 c = mix3(rust, paint, paintMask * (0.7f + 0.3f * streak));
    return {c};
}

TexelSample charredWood(float u, float v) {
    const float grain = tiledFbm2(u * 4, v * 32, 4, 4, 41);
    vec3 c = mix3(vec3(0.025f, 0.02f, 0.018f), vec3(0.10f, 0.07f, 0.05f), grain);
    float f1, f2;
    tiledCellular2(u * 10, v * 10, 10, 43, f1, f2);
    const float crack = 1.0f - smoothstepf(0.0f, 0.06f, f2 - f1);
    const float heat = smoothstepf(0.35f, 0.75f, tiledFbm2(u * 3, v * 3, 3, 4, 45));
    c = mix3(c, vec3(1.0f, 0.42f, 0.08f), crack * heat);
    c = mix3(c, vec3(0.45f, 0.12f, 0.03f), 0.5f * heat * (1.0f - crack) * smoothstepf(0.6f, 0.9f, grain));
    return {c};
}

TexelSample dirtyGlass(float u, float v) {
    const float n = tiledFbm2(u * 4, v * 4, 4, 5, 51);
    vec3 c = mix3(vec3(0.05f, 0.07f, 0.09f), vec3(0.16f, 0.17f, 0.17f), smoothstepf(0.4f, 0.9f, n));
    const float streak = tiledNoise2(u * 48, v * 1, 48, 53);
    c += vec3(0.05f) * smoothstepf(0.6f, 1.0f, streak) * v;
    const float crack = crackMask(u, v, 3, 55, 0.012f);
    c = mix3(c, vec3(0.45f, 0.47f, 0.5f), crack * 0.7f);
    return {c};
}

TexelSample deadBark(float u, float v) {
    // u runs around the branch, v along it: fissures run along v.
    const float ridges = tiledFbm2(u * 12, v * 2, 12, 4, 61);
    const float fissure = smoothstepf(0.38f, 0.3f, ridges);
    const float n = tiledFbm2(u * 8, v * 8, 8, 5, 63);
    vec3 c = mix3(vec3(0.20f, 0.18f, 0.16f), vec3(0.36f, 0.33f, 0.30f), n);
    c = mix3(c, vec3(0.05f, 0.04f, 0.035f), fissure);
    const float lichen = smoothstepf(0.68f, 0.75f, tiledFbm2(u * 6, v * 6, 6, 4, 65));
    c = mix3(c, vec3(0.30f, 0.33f, 0.24f), 0.6f * lichen);
    const float charred = smoothstepf(0.6f, 0.8f, tiledFbm2(u * 2, v * 1, 2, 3, 67));
    c = mix3(c, c * 0.35f, charred);
    return {c};
}

TexelSample tire(float u, float v) {
    const float tread = std::fabs(std::sin(v * 3.14159f * 48.0f + 3.0f * std::sin(u * 6.28318f * 2.0f)));
    vec3 c = vec3(0.05f) + vec3(0.03f) * smoothstepf(0.7f, 1.0f, tread);
    c += vec3(0.04f, 0.035f, 0.03f) * tiledFbm2(u * 16, v * 16, 16, 3, 71);
    return {c};
}

TexelSample bricks(float u, float v) {
    const float rows = 16.0f, cols = 8.0f;
    const float row = std::floor(v * rows);
    const float x = u * cols + (int(row) % 2 ? 0.5f : 0.0f);
    const float bx = x - std::floor(x), by = v * rows - row;
    const int brick = int(std::floor(x)) % int(cols);
    const uint32_t h = hash2i(brick, int(row), 81);
    vec3 c = mix3(vec3(0.30f, 0.12f, 0.08f), vec3(0.45f, 0.22f, 0.14f), hashUnit(h));
    c *= 0.85f + 0.3f * tiledNoise2(u * 128, v * 128, 128, 83);
    const bool mortar = bx < 0.05f || by < 0.1f;
    if (mortar)
        c = vec3(0.30f, 0.29f, 0.27f) * (0.8f + 0.3f * tiledNoise2(u * 64, v * 64, 64, 85));
    const float soot = smoothstepf(0.35f, 0.8f, tiledFbm2(u * 2, v * 2, 2, 4, 87));
    c = mix3(c, vec3(0.04f), 0.8f * soot);
    return {c};
}

TexelSample asphalt(float u, float v) {
    const float n = tiledFbm2(u * 6, v * 6, 6, 5, 91);
    vec3 c = vec3(0.11f, 0.11f, 0.115f) * (0.8f + 0.4f * n);
    const float grit = tiledNoise2(u * 300, v * 300, 300, 93);
    c *= 0.8f + 0.4f * grit;
    if (grit > 0.85f)
        c = vec3(0.28f, 0.27f, 0.26f);
    c *= 1.0f - 0.7f * crackMask(u, v, 4, 95, 0.02f);
    return {c};
}

TexelSample pavers(float u, float v) {
    // 2 x 2 slabs per tile, each with its own tone and a few cracks; weeds and dirt in the joints.
    const float x = u * 2.0f, y = v * 2.0f;
    const float fx = x - std::floor(x), fy = y - std::floor(y);
    const uint32_t h = hash2i(int(x), int(y), 101);
    vec3 c = vec3(0.36f, 0.35f, 0.33f) * (0.8f + 0.35f * hashUnit(h));
    c *= 0.85f + 0.3f * tiledFbm2(u * 16, v * 16, 16, 4, 103);
    c *= 1.0f - 0.5f * crackMask(u, v, 5, 105, 0.02f);
    const float joint = std::min(std::min(fx, 1.0f - fx), std::min(fy, 1.0f - fy));
    if (joint < 0.02f)
        c = mix3(vec3(0.06f, 0.06f, 0.05f), vec3(0.12f, 0.14f, 0.07f), tiledNoise2(u * 64, v * 64, 64, 107));
    return {c};
}

TexelSample corrugated(float u, float v) {
    const float ridge = 0.5f + 0.5f * std::sin(u * 6.28318f * 24.0f);
    TexelSample s = rustMetal(u, v);
    s.color *= 0.7f + 0.5f * ridge;
    return s;
}

TexelSample boards(float u, float v) {
    const float plank = std::floor(u * 6.0f);
    const float edge = u * 6.0f - plank;
    const float grain = tiledFbm2(u * 24, v * 3, 24, 4, 111 + uint32_t(plank));
    vec3 c = mix3(vec3(0.20f, 0.17f, 0.13f), vec3(0.34f, 0.30f, 0.25f), grain);
    c *= 0.85f + 0.3f * hashUnit(hash2i(int(plank), 0, 113));
    if (edge < 0.04f || edge > 0.96f)
        c *= 0.3f;
    return {c};
}

TexelSample lampMetal(float u, float v) {
    const float n = tiledFbm2(u * 8, v * 8, 8, 4, 121);
    vec3 c = vec3(0.09f, 0.10f, 0.10f) * (0.8f + 0.4f * n);
    const float chip = smoothstepf(0.7f, 0.75f, tiledFbm2(u * 10, v * 10, 10, 4, 123));
    c = mix3(c, vec3(0.3f, 0.16f, 0.08f), chip);
    return {c};
}

TexelSample lampGlow(float u, float v) {
    const float n = tiledFbm2(u * 4, v * 4, 4, 3, 131);
    return {vec3(1.0f, 0.93f, 0.78f) * (0.92f + 0.08f * n)};
}

TexelSample rubble(float u, float v) {
    TexelSample s = concrete(u, v, 141, 0.35f);
    s.color *= 0.7f;
    float f1, f2;
    tiledCellular2(u * 12, v * 12, 12, 143, f1, f2);
    const uint32_t h = hash2i(int(std::floor(f1 * 97.0f)), 0, 145);
    if (hashUnit(h) > 0.75f)
        s.color = mix3(s.color, vec3(0.33f, 0.15f, 0.10f), 0.7f); // brick fragments in the mix
    s.color *= 0.75f + 0.5f * smoothstepf(0.0f, 0.5f, f2 - f1);
    return s;
}

TexelSample fabric(float u, float v) {
    const float weave = 0.5f + 0.25f * (std::sin(u * 6.28318f * 128.0f) + std::sin(v * 6.28318f * 128.0f));
    vec3 c = vec3(0.10f, 0.08f, 0.07f) * (0.8f + 0.3f * weave);
    c *= 0.6f + 0.6f * tiledFbm2(u * 4, v * 4, 4, 4, 151);
    return {c};
}

TexelSample framePaint(float u, float v) {
    const float n = tiledFbm2(u * 8, v * 8, 8, 5, 161);
    const float peel = smoothstepf(0.55f, 0.6f, n);
    vec3 c = mix3(vec3(0.36f, 0.36f, 0.33f), vec3(0.16f, 0.12f, 0.09f), peel);
    c *= 0.85f + 0.2f * tiledNoise2(u * 64, v * 64, 64, 163);
    return {c};
}

// Two bays by two storeys of a distant ruined block: panels (or bricks) with dark window holes, some
// boarded, some with a frame left, so boxes tiled with it read as buildings from afar.
TexelSample ruinFacade(float u, float v, bool brick) {
    TexelSample s = brick ? bricks(u * 2.0f - std::floor(u * 2.0f), v * 2.0f - std::floor(v * 2.0f))
                          : concrete(u, v, 171, 0.3f);
    s.color *= brick ? 0.8f : 0.55f;
    const int bay = int(u * 2.0f), storey = int(v * 2.0f);
    const float bu = u * 2.0f - float(bay), bv = v * 2.0f - float(storey);
    const uint32_t h = hash2i(bay, storey, brick ? 181 : 183);
    if (bu > 0.22f && bu < 0.78f && bv > 0.28f && bv < 0.72f) {
        const float kind = hashUnit(h);
        s.color = vec3(0.02f, 0.02f, 0.025f) * (0.8f + 0.4f * tiledNoise2(u * 32, v * 32, 32, 173));
        if (kind > 0.7f && std::fmod(bv * 6.0f, 1.0f) < 0.75f)
            s.color = vec3(0.15f, 0.12f, 0.09f) * (0.8f + 0.3f * hashUnit(hash32(h))); // boarded up
        else if (kind > 0.45f && (std::fabs(bu - 0.5f) < 0.02f || std::fabs(bv - 0.5f) < 0.02f))
            s.color = vec3(0.2f, 0.19f, 0.17f); // what is left of the frame
    } else if (bv > 0.72f && bv < 0.75f && bu > 0.2f && bu < 0.8f) {
        s.color *= 0.6f;
    } else if (bv > 0.97f && !brick) {
        s.color *= 0.5f;
    }
    // Soot above some windows, streaks below.
    if (bv < 0.28f && hashUnit(hash32(h + 5)) > 0.6f)
        s.color *= 1.0f - 0.7f * smoothstepf(0.0f, 0.28f, bv) * std::exp(-std::pow((bu - 0.5f) / 0.3f, 2.0f));
    if (bv > 0.75f && bu > 0.25f && bu < 0.75f)
        s.color *= 1.0f - 0.35f * smoothstepf(0.5f, 0.9f, tiledNoise2(u * 48, 1.0f, 48, 175)) *
                              (1.0f - (bv - 0.75f) * 3.0f);
    return s;
}

} // namespace

int tiledTextureSize(const std::string& t) {
    if (t == "glass_dirty" || t == "tire_rubber" || t == "lamp_metal" || t == "lamp_glow" || t == "fabric" ||
        t == "frame_paint")
        return 256;
    return 512;
}

TexelSample paintTiled(const std::string& t, float u, float v) {
    if (t == "concrete_raw")
        return concrete(u, v, 1, 0.0f);
    if (t == "concrete_burnt")
        return concrete(u, v, 2, 0.8f);
    if (t == "plaster_wall")
        return plaster(u, v);
    if (t == "rust_metal")
        return rustMetal(u, v);
    if (t == "charred_wood")
        return charredWood(u, v);
    if (t == "glass_dirty")
        return dirtyGlass(u, v);
    if (t == "bark_dead")
        return deadBark(u, v);
    if (t == "tire_rubber")
        return tire(u, v);
    if (t == "brick_old")
        return bricks(u, v);
    if (t == "asphalt")
        return asphalt(u, v);
    if (t == "pavers")
        return pavers(u, v);
    if (t == "corrugated")
        return corrugated(u, v);
    if (t == "wood_boards")
        return boards(u, v);
    if (t == "lamp_metal")
        return lampMetal(u, v);
    if (t == "lamp_glow")
        return lampGlow(u, v);
    if (t == "rubble")
        return rubble(u, v);
    if (t == "fabric")
        return fabric(u, v);
    if (t == "frame_paint")
        return framePaint(u, v);
    if (t == "ruin_facade")
        return ruinFacade(u, v, false);
    if (t == "ruin_brick")
        return ruinFacade(u, v, true);
    return {glm::vec3(1.0f, 0.0f, 1.0f)};
}
