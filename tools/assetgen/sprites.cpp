// The sprites group: textures/smoke0.png ... smoke5.png, soft grey-white smoke puffs with alpha that
// fades to nothing at the border. Each puff is a cluster of soft blobs broken up by noise; all share
// one size because the particle system sizes its texture array from smoke0.
#include "generators.hpp"

#include <stb_image_write.h>
#include <stb_perlin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int spriteSize = 128;
constexpr int spriteCount = 6;

// A small fixed-sequence generator: the standard library's distributions differ between vendors.
struct Lcg {
    std::uint32_t state;
    float next() {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / float(1u << 24);
    }
};

struct Blob {
    float x, y, radius, weight;
};

std::vector<std::uint8_t> paintPuff(int index) {
    Lcg rng{0x5eedu + 7919u * std::uint32_t(index)};
    std::vector<Blob> blobs;
    const int count = 5 + index % 3;
    for (int b = 0; b < count; ++b) {
        const float angle = rng.next() * 6.2831853f;
        const float dist = 0.06f + 0.17f * rng.next();
        blobs.push_back({0.5f + dist * std::cos(angle), 0.5f + dist * std::sin(angle),
                         0.13f + 0.09f * rng.next(), 0.6f + 0.4f * rng.next()});
    }
    const float seed = 13.0f * float(index) + 3.0f;
    const float swirl = 0.05f + 0.03f * rng.next();

    std::vector<std::uint8_t> pixels(size_t(spriteSize) * spriteSize * 4);
    for (int y = 0; y < spriteSize; ++y) {
        for (int x = 0; x < spriteSize; ++x) {
            float u = (float(x) + 0.5f) / spriteSize;
            float v = (float(y) + 0.5f) / spriteSize;
            // Warp the lookup so the blob edges curl like smoke instead of staying round.
            u += swirl * stb_perlin_noise3(u * 4.0f, v * 4.0f, seed, 0, 0, 0);
            v += swirl * stb_perlin_noise3(u * 4.0f + 31.0f, v * 4.0f, seed, 0, 0, 0);
            float density = 0.0f;
            for (const Blob& b : blobs) {
                const float d2 = ((u - b.x) * (u - b.x) + (v - b.y) * (v - b.y)) / (b.radius * b.radius);
                density += b.weight * std::exp(-2.2f * d2);
            }
            const float detail = stb_perlin_fbm_noise3(u * 6.0f, v * 6.0f, seed + 0.5f, 2.0f, 0.5f, 4);
            density *= 0.75f + 0.45f * detail;
            // Whatever the blobs do, the border is fully transparent.
            const float r =
                std::hypot(float(x) + 0.5f - spriteSize * 0.5f, float(y) + 0.5f - spriteSize * 0.5f) /
                (spriteSize * 0.5f);
            const float edge = std::clamp((1.0f - r) / 0.45f, 0.0f, 1.0f);
            const float alpha =
                std::clamp(0.62f * (1.0f - std::exp(-1.6f * density)) * edge * edge, 0.0f, 1.0f);
            // Billows: folds of the noise catch less light; the dense core is a little darker.
            const float folds = stb_perlin_fbm_noise3(u * 9.0f, v * 9.0f, seed + 7.5f, 2.0f, 0.5f, 3);
            const float shade = 222.0f + 22.0f * folds - 30.0f * std::clamp(density - 0.8f, 0.0f, 1.0f);
            std::uint8_t* out = &pixels[(size_t(y) * spriteSize + x) * 4];
            out[0] = std::uint8_t(std::clamp(shade, 0.0f, 255.0f));
            out[1] = std::uint8_t(std::clamp(shade - 3.0f, 0.0f, 255.0f));
            out[2] = std::uint8_t(std::clamp(shade - 8.0f, 0.0f, 255.0f));
            out[3] = std::uint8_t(std::lround(alpha * 255.0f));
        }
    }
    return pixels;
}

} // namespace

bool generateSprites(const std::string& assetsDir) {
    const std::filesystem::path textures = std::filesystem::path(assetsDir) / "textures";
    std::error_code ec;
    std::filesystem::create_directories(textures, ec);
    for (int i = 0; i < spriteCount; ++i) {
        const std::string path = (textures / ("smoke" + std::to_string(i) + ".png")).string();
        const std::vector<std::uint8_t> pixels = paintPuff(i);
        if (!stbi_write_png(path.c_str(), spriteSize, spriteSize, 4, pixels.data(), spriteSize * 4)) {
            std::printf("assetgen: sprites: could not write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}
