// background.obj: the night sky as a dome seen from inside (its triangles face the centre, since the
// viewer culls back faces), with a skyline of ruins on the horizon, stars, drifting cloud, the glow of
// distant fires, and the moon as a disc of its own in the direction the scene's moonlight comes from.
#include "image.hpp"
#include "noise.hpp"
#include "paint_util.hpp"
#include "scene_layout.hpp"
#include "scene_parts.hpp"

#include <glm/gtc/constants.hpp>

#include <cmath>

namespace {

using glm::vec3;

// The dome in model units: the scene scales it by 100 around (-5, 110, 0), so this centre lands on
// (-5, 0, 0) and the radius on 120 world units, inside the far plane from every camera position.
const vec3 kDomeCentre(0.0f, -1.1f, 0.0f);
constexpr float kDomeRadius = 1.2f;
constexpr int kSkySize = 1024;
constexpr float kLowestElevation = -10.0f; // degrees; the texture's rim

// Azimuthal mapping of directions onto the sky texture: the zenith in the middle, the rim at -10 degrees.
glm::vec2 skyUv(const vec3& d) {
    const float elev = glm::degrees(std::asin(glm::clamp(d.y, -1.0f, 1.0f)));
    const float r = 0.5f * (90.0f - std::max(elev, kLowestElevation)) / (90.0f - kLowestElevation);
    const float az = std::atan2(d.z, d.x);
    return {0.5f + r * std::cos(az), 0.5f + r * std::sin(az)};
}

vec3 moonDir() {
    return -moonDirection();
}

// Height of the ruined skyline (degrees) in an azimuth.
float skyline(float az) {
    const float a = (az + glm::pi<float>()) / glm::two_pi<float>() * 180.0f;
    const int block = int(std::floor(a));
    const uint32_t h = hash2i(block, 0, 4101);
    float height = 0.6f + 2.6f * hashUnit(h) * hashUnit(hash32(h));
    if (hashUnit(hash32(h + 7)) > 0.85f)
        height += 2.0f; // a taller tower
    // Broken tops.
    height -= 0.6f * valueNoise2(a * 7.0f, 0.0f, 4103) * float(hashUnit(hash32(h + 3)) > 0.5f);
    return height * (0.6f + 0.6f * fbm2(a * 0.05f, 0.0f, 2, 4105));
}

vec3 skyColour(const vec3& d) {
    const float elev = glm::degrees(std::asin(glm::clamp(d.y, -1.0f, 1.0f)));
    const float az = std::atan2(d.z, d.x);
    const float up = clamp01(elev / 90.0f);
    vec3 c = mix3(vec3(0.075f, 0.085f, 0.13f), vec3(0.012f, 0.016f, 0.045f), std::pow(up, 0.45f));
    // Glow of far-off fires low on the horizon in a few directions.
    const float fires = smoothstepf(0.45f, 0.8f, fbm2(az * 1.2f + 10.0f, 0.3f, 3, 4111));
    c += vec3(0.22f, 0.08f, 0.03f) * fires * std::exp(-std::max(elev, 0.0f) / 7.0f);
    // Moon halo.
    const float cosM = glm::dot(d, moonDir());
    const float ang = std::acos(glm::clamp(cosM, -1.0f, 1.0f));
    c += vec3(0.16f, 0.17f, 0.2f) * std::exp(-ang * ang / 0.02f) +
         vec3(0.05f, 0.055f, 0.07f) * std::exp(-ang * ang / 0.25f);
    // Stars, denser along a faint band of the galaxy, hidden by haze near the horizon.
    const float band =
        std::exp(-std::pow(glm::dot(d, glm::normalize(vec3(0.3f, 0.5f, -0.8f))), 2.0f) / 0.04f);
    c += vec3(0.035f, 0.035f, 0.045f) * band * fbm2(d.x * 6 + 3, d.z * 6 + d.y * 4, 4, 4113);
    const glm::vec2 uv = skyUv(d) * float(kSkySize);
    const uint32_t h = hash2i(int(uv.x), int(uv.y), 4115);
    const float threshold = 0.9965f - 0.006f * band;
    if (hashUnit(h) > threshold && elev > 4.0f) {
        const float b = std::pow(hashUnit(hash32(h)), 3.0f);
        const float tint = hashUnit(hash32(h + 1));
        c += (0.35f + 1.1f * b) * smoothstepf(4.0f, 20.0f, elev) *
             vec3(0.85f + 0.15f * tint, 0.9f, 1.0f - 0.15f * tint);
    }
    // Thin cloud drifting over the stars, its edges caught by the moonlight.
    const float cloud = smoothstepf(0.5f, 0.72f, fbm3(d.x * 3.0f, d.y * 6.0f, d.z * 3.0f, 5, 4117));
    const vec3 lit = vec3(0.09f, 0.09f, 0.11f) + vec3(0.12f, 0.12f, 0.13f) * std::exp(-ang * ang / 0.15f);
    c = mix3(c, lit * (0.6f + 0.4f * cloud), cloud * 0.85f * smoothstepf(-2.0f, 12.0f, elev));
    // The ruined skyline, and below it the dark land.
    if (elev < skyline(az)) {
        c = vec3(0.012f, 0.012f, 0.016f);
        if (hashUnit(hash2i(int(uv.x * 0.5f), int(uv.y * 0.5f), 4119)) > 0.995f)
            c = vec3(0.35f, 0.15f, 0.05f); // a fire burning in a far window
    }
    return c;
}

Image paintSky() {
    Image img(kSkySize, kSkySize);
    parallelRows(kSkySize, [&](int y) {
        for (int x = 0; x < kSkySize; ++x) {
            const float u = (float(x) + 0.5f) / float(kSkySize) - 0.5f,
                        v = (float(y) + 0.5f) / float(kSkySize) - 0.5f;
            const float r = std::min(std::sqrt(u * u + v * v), 0.5f);
            const float elev = glm::radians(90.0f - r / 0.5f * (90.0f - kLowestElevation));
            const float az = std::atan2(v, u);
            const vec3 d(std::cos(elev) * std::cos(az), std::sin(elev), std::cos(elev) * std::sin(az));
            // The sky is drawn with strong ambient light only; paint it a little brighter than seen.
            img.at(x, y) = skyColour(d) * 1.3f;
        }
    });
    return img;
}

Image paintMoon() {
    const int n = 256;
    Image img(n, n);
    // Craters of many sizes: centre (x, y) and radius in disc units.
    std::vector<glm::vec3> craters;
    Rng rng(4139);
    for (int i = 0; i < 45; ++i) {
        const float r = 0.02f + 0.14f * std::pow(rng.unit(), 3.0f);
        craters.push_back({rng.range(-0.95f, 0.95f), rng.range(-0.95f, 0.95f), r});
    }
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float u = (float(x) + 0.5f) / float(n) * 2.0f - 1.0f,
                        v = (float(y) + 0.5f) / float(n) * 2.0f - 1.0f;
            const float r = std::sqrt(u * u + v * v);
            const float limb = std::sqrt(std::max(0.0f, 1.0f - r * r));
            vec3 c = vec3(0.93f, 0.91f, 0.84f) * (0.55f + 0.45f * limb);
            const float maria = smoothstepf(0.5f, 0.62f, fbm2(u * 1.7f + 11.0f, v * 1.7f + 3.0f, 5, 4137));
            c = mix3(c, c * vec3(0.55f, 0.56f, 0.6f), maria);
            for (const glm::vec3& k : craters) {
                const float d = glm::length(glm::vec2(u - k.x, v - k.y)) / k.z;
                if (d < 1.25f)
                    c *= d < 0.85f ? 0.86f + 0.1f * d : 1.0f + 0.25f * (1.25f - d) * (d - 0.85f) / 0.16f;
            }
            c *= 0.9f + 0.1f * valueNoise2(u * 40.0f, v * 40.0f, 4135);
            img.at(x, y) = r < 1.02f ? c : vec3(0.1f, 0.1f, 0.12f);
        }
    return img;
}

} // namespace

GeneratedModel buildSky(const std::string& assetsDir, bool& ok) {
    GeneratedModel g;
    g.model.fileStem = "background";
    g.model.materials.push_back({"NightSky", "textures/sky_night.jpg", kNoLightMap, glm::vec3(0.0f), 1.0f});
    g.model.materials.push_back({"MoonDisc", "textures/moon.jpg", kNoLightMap, glm::vec3(0.0f), 1.0f});
    ok = writeJpeg(assetsDir, "textures/sky_night.jpg", paintSky(), false, 92) && ok;
    ok = writeJpeg(assetsDir, "textures/moon.jpg", paintMoon()) && ok;

    MeshData& dome = g.model.mesh("SkyDome", "NightSky");
    const int rings = 30, segments = 72;
    auto dirAt = [&](int ring, int seg) {
        const float elev = glm::radians(-90.0f + 180.0f * float(ring) / float(rings));
        const float az = glm::two_pi<float>() * float(seg) / float(segments);
        return vec3(std::cos(elev) * std::cos(az), std::sin(elev), std::cos(elev) * std::sin(az));
    };
    // Below the horizon the terrain, which reaches past the dome and rises to hills near it, hides the
    // dome from every camera position; drawn there it would only cost shading that the terrain then
    // overwrites. The dome stops 12 degrees down, below the texture's rim, so no gap can open.
    const int lowestRing = rings / 2 - 2;
    for (int ring = lowestRing; ring < rings; ++ring)
        for (int seg = 0; seg < segments; ++seg) {
            const vec3 d[4] = {dirAt(ring, seg), dirAt(ring, seg + 1), dirAt(ring + 1, seg + 1),
                               dirAt(ring + 1, seg)};
            uint32_t id[4];
            for (int k = 0; k < 4; ++k) {
                glm::vec2 uv = skyUv(d[k]);
                // At the poles the azimuth is undefined; use the quad's own so the texture stays continuous.
                if (std::fabs(d[k].y) > 0.9999f) {
                    const vec3 other = d[k == 2 || k == 3 ? 1 : 2];
                    uv = skyUv(glm::normalize(vec3(other.x * 1e-3f, d[k].y, other.z * 1e-3f)));
                }
                id[k] = dome.addVertex(kDomeCentre + kDomeRadius * d[k], -d[k], uv);
            }
            // Seen from inside: counter-clockwise towards the centre. The quads at the poles lose a
            // corner and become single triangles.
            if (ring > 0)
                dome.addTriangle(id[0], id[1], id[2]);
            if (ring < rings - 1)
                dome.addTriangle(id[0], id[2], id[3]);
        }
    // The moon a little inside the dome, facing its centre; about 4.4 degrees across.
    MeshData& moon = g.model.mesh("Moon", "MoonDisc");
    const float dist = kDomeRadius * 0.985f;
    addDisc(moon, kDomeCentre + moonDir() * dist, -moonDir(), dist * std::tan(glm::radians(2.2f)), 32);
    return g;
}
