// Each atlas rectangle is painted by its own function of the part's (u, v): u around the tube with the
// front at 0.5, v along it. Noise that crosses a tube's seam wraps in u so the seam does not show.
#include "character_skin.hpp"

#include "character_atlas.hpp"

#include <stb_perlin.h>

#include <algorithm>
#include <cmath>

namespace {

struct Rgb {
    float r, g, b;
};

Rgb operator*(Rgb c, float s) {
    return {c.r * s, c.g * s, c.b * s};
}
Rgb mix(Rgb a, Rgb b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float smooth01(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Fractal noise in about [-1, 1] that repeats every `around` cells in u (so tube seams match).
float tubeNoise(float u, float v, int around, float along, unsigned char seed, int octaves = 4) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    int scale = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * stb_perlin_noise3_wrap_nonpow2(u * float(around * scale), v * along * float(scale),
                                                          float(seed) * 1.7f, around * scale, 0, 0, seed);
        amplitude *= 0.5f;
        scale *= 2;
    }
    return sum * 1.6f;
}

// Coarse cloth: a warp-and-weft ripple under blotchy dirt.
Rgb cloth(Rgb base, float u, float v, int around, float along, unsigned char seed) {
    const float weave = 0.06f * std::sin(u * float(around) * 40.0f) * std::sin(v * along * 40.0f);
    const float blotch = tubeNoise(u, v, around, along, seed);
    const float grime = tubeNoise(u, v, around * 3, along * 3.0f, seed + 1, 3);
    return base * (1.0f + 0.22f * blotch + weave + 0.12f * grime);
}

float distanceToSegment(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// Diagonal strips of dirty linen wound around a limb.
Rgb bandage(float u, float v, float turns, unsigned char seed) {
    const Rgb linen{112, 101, 82};
    const float wind = u + v * turns;
    const float strip = wind - std::floor(wind);
    const float edge = smooth01(0.0f, 0.06f, strip) * smooth01(1.0f, 0.92f, strip);
    Rgb c = mix(linen * 0.45f, linen, edge);
    return c * (1.0f + 0.25f * tubeNoise(u, v, 6, 12.0f, seed));
}

const Rgb tunicCloth{58, 52, 43};
const Rgb trouserCloth{44, 42, 39};
const Rgb hoodCloth{38, 35, 33};
const Rgb leather{40, 29, 21};
const Rgb ashSkin{122, 126, 108};

Rgb paintTorso(float u, float v) {
    Rgb c = cloth(tunicCloth, u, v, 8, 6.0f, 11);
    // Patches sewn over worn spots, outlined by darker stitching.
    struct Patch {
        float u0, v0, u1, v1;
        Rgb tint;
    };
    const Patch patches[] = {{0.56f, 0.52f, 0.68f, 0.66f, {66, 58, 44}},
                             {0.08f, 0.30f, 0.20f, 0.46f, {50, 50, 46}},
                             {0.80f, 0.62f, 0.90f, 0.74f, {62, 48, 40}}};
    for (const Patch& p : patches) {
        if (u > p.u0 && u < p.u1 && v > p.v0 && v < p.v1) {
            c = cloth(p.tint, u, v, 8, 6.0f, 13);
            const float border =
                std::min(std::min(u - p.u0, p.u1 - u) * 8.0f, std::min(v - p.v0, p.v1 - v) * 6.0f);
            const float stitch = (std::fmod((u + v) * 160.0f, 1.0f) < 0.5f) ? 0.55f : 1.0f;
            if (border < 0.05f)
                c = c * stitch;
        }
    }
    // Side seams and a laced front opening.
    for (float seam : {0.25f, 0.75f})
        c = c * (1.0f - 0.35f * smooth01(0.008f, 0.0f, std::fabs(u - seam)));
    if (v > 0.45f && v < 0.95f) {
        const float du = u - 0.5f;
        c = mix(c, Rgb{20, 17, 14}, smooth01(0.012f, 0.004f, std::fabs(du)));
        const float cross = std::fabs(std::fabs(du) * 14.0f - std::fabs(std::fmod(v * 28.0f, 2.0f) - 1.0f));
        if (std::fabs(du) < 0.05f && cross < 0.12f)
            c = Rgb{92, 80, 60};
    }
    // Belt with a dull buckle at the front and a pouch on the right hip.
    if (v > 0.18f && v < 0.27f) {
        c = leather * (1.0f + 0.3f * tubeNoise(u, v, 12, 20.0f, 17));
        if (std::fabs(v - 0.18f) < 0.006f || std::fabs(v - 0.27f) < 0.006f)
            c = c * 0.6f;
        if (std::fabs(u - 0.5f) < 0.03f) {
            const bool ring = std::fabs(u - 0.5f) > 0.018f || std::fabs(v - 0.225f) > 0.028f;
            c = ring ? Rgb{96, 90, 74} * (1.0f + 0.2f * tubeNoise(u, v, 12, 20.0f, 19)) : c;
        }
    }
    if (u > 0.66f && u < 0.78f && v > 0.08f && v < 0.26f)
        c = leather * (1.15f + 0.3f * tubeNoise(u, v, 12, 20.0f, 23)) * (v > 0.22f ? 0.75f : 1.0f);
    // Grime gathers at the hem; the collar is darker where it rubs.
    c = c * (0.7f + 0.3f * smooth01(0.0f, 0.15f, v));
    c = c * (1.0f - 0.3f * smooth01(0.9f, 1.0f, v));
    return c;
}

Rgb paintLeg(float u, float v) {
    Rgb c = cloth(trouserCloth, u, v, 6, 8.0f, 31);
    // Knee patch at the front.
    const float knee = 0.5f;
    if (std::fabs(u - 0.5f) < 0.12f && std::fabs(v - knee) < 0.08f) {
        c = cloth(Rgb{60, 52, 42}, u, v, 6, 8.0f, 33);
        if (std::fabs(u - 0.5f) > 0.11f || std::fabs(v - knee) > 0.07f)
            c = c * 0.55f;
    }
    if (v > 0.8f)
        c = bandage(u, (v - 0.8f) * 5.0f, 3.0f, 35);
    c = c * (0.75f + 0.25f * smooth01(1.0f, 0.7f, v)) * (0.9f + 0.1f * smooth01(0.0f, 0.1f, v));
    return c;
}

Rgb paintArm(float u, float v) {
    if (v < 0.56f) {
        Rgb c = cloth(tunicCloth, u, v, 6, 10.0f, 41);
        if (std::fabs(v - 0.54f) < 0.02f) // ragged rolled cuff
            c = c * (0.6f + 0.3f * tubeNoise(u, v, 12, 30.0f, 43));
        return c;
    }
    return bandage(u, (v - 0.56f) * 2.3f, 4.0f, 45);
}

Rgb skin(float u, float v, int around, float along, unsigned char seed) {
    const float mottled = tubeNoise(u, v, around, along, seed);
    const float fine = tubeNoise(u, v, around * 4, along * 4.0f, seed + 1, 2);
    return mix(ashSkin * (1.0f + 0.15f * mottled + 0.08f * fine), Rgb{96, 108, 92}, 0.3f + 0.3f * mottled);
}

Rgb paintHand(float u, float v) {
    Rgb c = skin(u, v, 6, 6.0f, 51);
    // Knuckle creases, then dark horned claws.
    c = c * (1.0f - 0.18f * smooth01(0.03f, 0.0f, std::fabs(v - 0.55f)));
    c = mix(c, Rgb{30, 26, 22}, smooth01(0.8f, 0.88f, v));
    return c;
}

Rgb paintFoot(float u, float v) {
    Rgb c = leather * (0.9f + 0.35f * tubeNoise(u, v, 6, 8.0f, 61));
    const float top = 1.0f - std::fabs(u - 0.5f) * 2.0f; // 1 on top of the boot, 0 under the sole
    c = mix(Rgb{18, 16, 14}, c, smooth01(0.12f, 0.22f, top));
    // Straps across the instep and a scuffed toe cap.
    if (v > 0.2f && v < 0.5f && top > 0.3f && std::fmod(v * 20.0f, 1.0f) < 0.35f)
        c = Rgb{60, 50, 38} * (1.0f + 0.2f * tubeNoise(u, v, 6, 8.0f, 63));
    c = mix(c, Rgb{70, 62, 52},
            0.5f * smooth01(0.85f, 1.0f, v) * smooth01(0.0f, 0.8f, tubeNoise(u, v, 6, 16.0f, 65)));
    return c;
}

Rgb paintHead(float u, float v) {
    const float du = u - 0.5f;
    // The face is an oval opening in the hood.
    const float faceShape = std::pow(du / 0.19f, 2.0f) + std::pow((v - 0.42f) / 0.4f, 2.0f);
    Rgb hood = cloth(hoodCloth, u, v, 6, 4.0f, 71);
    hood = hood * (0.85f + 0.15f * smooth01(1.0f, 0.6f, v));
    if (faceShape > 1.0f) {
        const float hem = smooth01(1.25f, 1.0f, faceShape);
        return mix(hood, hood * 1.45f, hem);
    }
    Rgb c = skin(u, v, 6, 4.0f, 73);
    c = c * (0.55f + 0.45f * smooth01(1.0f, 0.55f, faceShape)); // shadowed under the hood's rim
    // Heavy brow, sunken sockets and pale, faintly glowing eyes.
    for (float side : {-1.0f, 1.0f}) {
        const float ex = (du - side * 0.06f) / 0.045f;
        const float ey = (v - 0.5f) / 0.05f;
        const float socket = ex * ex + ey * ey;
        c = c * (1.0f - 0.65f * smooth01(1.6f, 0.4f, socket));
        const float iris = ((du - side * 0.058f) * (du - side * 0.058f)) / (0.017f * 0.017f) +
                           ((v - 0.5f) * (v - 0.5f)) / (0.02f * 0.02f);
        c = mix(c, Rgb{232, 214, 140}, smooth01(1.0f, 0.3f, iris));
    }
    c = c *
        (1.0f - 0.25f * smooth01(0.03f, 0.0f, std::fabs(v - 0.58f)) * smooth01(0.14f, 0.05f, std::fabs(du)));
    // A thin, crooked mouth and a few scars.
    const float mouth = std::fabs(v - 0.2f - 0.012f * std::sin(du * 60.0f));
    c = mix(c, Rgb{34, 22, 22}, smooth01(0.012f, 0.003f, mouth) * smooth01(0.075f, 0.05f, std::fabs(du)));
    const float scar = distanceToSegment(u, v, 0.54f, 0.62f, 0.6f, 0.36f);
    c = mix(c, Rgb{150, 118, 108}, smooth01(0.006f, 0.002f, scar));
    return c;
}

Rgb paintNeck(float u, float v) {
    // A wound scarf in rust-brown bands.
    const Rgb scarf{72, 42, 33};
    const float band = std::fmod(v * 4.0f + u * 0.5f, 1.0f);
    return cloth(scarf, u, v, 6, 3.0f, 81) * (band < 0.1f ? 0.6f : 1.0f);
}

Rgb paintEar(float u, float v) {
    Rgb c = skin(u, v, 4, 3.0f, 91);
    return mix(c, c * 0.6f, smooth01(0.3f, 0.0f, std::fabs(u - 0.25f)) * smooth01(0.9f, 0.3f, v));
}

Rgb paintNose(float u, float v) {
    return skin(u, v, 4, 2.0f, 93) * (0.9f - 0.2f * v);
}

bool inside(const SkinRect& r, float px, float py, float& u, float& v) {
    const float xMin = std::min(r.x0, r.x1), xMax = std::max(r.x0, r.x1);
    const float yMin = std::min(r.y0, r.y1), yMax = std::max(r.y0, r.y1);
    if (px < xMin || px >= xMax || py < yMin || py >= yMax)
        return false;
    u = (px - r.x0) / (r.x1 - r.x0);
    v = (py - r.y0) / (r.y1 - r.y0);
    return true;
}

} // namespace

std::vector<std::uint8_t> paintCharacterSkin() {
    struct Part {
        SkinRect rect;
        Rgb (*paint)(float, float);
    };
    const Part parts[] = {
        {skinAtlas::torso, paintTorso}, {skinAtlas::leg, paintLeg},   {skinAtlas::arm, paintArm},
        {skinAtlas::hand, paintHand},   {skinAtlas::foot, paintFoot}, {skinAtlas::head, paintHead},
        {skinAtlas::neck, paintNeck},   {skinAtlas::ear, paintEar},   {skinAtlas::nose, paintNose}};
    std::vector<std::uint8_t> pixels(size_t(skinAtlas::size) * skinAtlas::size * 3);
    for (int y = 0; y < skinAtlas::size; ++y) {
        for (int x = 0; x < skinAtlas::size; ++x) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            Rgb c = tunicCloth;
            for (const Part& part : parts) {
                float u = 0.0f, v = 0.0f;
                if (inside(part.rect, px, py, u, v)) {
                    c = part.paint(u, v);
                    break;
                }
            }
            std::uint8_t* out = &pixels[(size_t(y) * skinAtlas::size + x) * 3];
            out[0] = std::uint8_t(std::clamp(c.r, 0.0f, 255.0f));
            out[1] = std::uint8_t(std::clamp(c.g, 0.0f, 255.0f));
            out[2] = std::uint8_t(std::clamp(c.b, 0.0f, 255.0f));
        }
    }
    return pixels;
}
