// car.obj: a burnt-out saloon, used three times in the scene at a scale of 1.5. Model units: 3 long
// along x (front at +x), 1.28 wide, wheels touching the ground at y = -0.15 with flat tyres, so each
// placement's ground lies 0.225 world units below its origin.
#include "car_parts.hpp"
#include "image.hpp"
#include "scene_parts.hpp"

#include <algorithm>
#include <cmath>

namespace {

using glm::vec2;
using glm::vec3;

constexpr float kGround = -0.15f, kWheelX = 0.95f, kWheelY = 0.12f, kWheelR = 0.3f, kArchR = 0.36f;
constexpr float kBelt = 0.72f, kHalfWidth = 0.64f, kTopHalfWidth = 0.6f;

float bottomLine(float x) {
    float y = 0.06f;
    for (float wx : {-kWheelX, kWheelX}) {
        const float d = x - wx;
        if (std::fabs(d) < kArchR)
            y = std::max(y, kWheelY + std::sqrt(kArchR * kArchR - d * d));
    }
    return y;
}

float topLine(float x) {
    if (x > 1.3f)
        return 0.58f + (1.5f - x) / 0.2f * 0.08f;
    if (x > 0.55f)
        return 0.66f + (1.3f - x) / 0.75f * 0.05f;
    if (x > -1.05f)
        return kBelt;
    return 0.64f + (x + 1.5f) / 0.45f * 0.08f;
}

std::vector<float> stations() {
    std::vector<float> xs = {-1.5f, -1.42f, -1.3f, -1.05f, -0.62f, -0.3f,
                             0.05f, 0.3f,   0.55f, 1.3f,   1.42f,  1.5f};
    for (float wx : {-kWheelX, kWheelX})
        for (int i = 0; i <= 8; ++i)
            xs.push_back(wx + kArchR * std::cos(3.14159f * float(i) / 8.0f));
    std::sort(xs.begin(), xs.end());
    std::vector<float> out;
    for (float x : xs)
        if (out.empty() || x - out.back() > 0.01f)
            out.push_back(x);
    return out;
}

// A body panel, wound so that it faces the side `outward` points to.
void bodyQuad(MeshData& m, vec3 p0, vec3 p1, vec3 p2, vec3 p3, const vec3& outward) {
    vec3 n = glm::cross(p1 - p0, p2 - p0);
    if (glm::length(n) < 1e-8f)
        n = glm::cross(p2 - p0, p3 - p0);
    if (glm::dot(n, outward) < 0.0f) {
        std::swap(p1, p3);
        n = -n;
    }
    n = glm::normalize(n);
    const vec3 p[4] = {p0, p1, p2, p3};
    const vec2 uv[4] = {carBodyUv(p0, n), carBodyUv(p1, n), carBodyUv(p2, n), carBodyUv(p3, n)};
    m.addQuad(p, n, uv);
}

// Outer shell: sides, hood, trunk, sills, front and back, underside.
void shell(MeshData& m) {
    const std::vector<float> xs = stations();
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        const float a = xs[i], b = xs[i + 1];
        for (int side = -1; side <= 1; side += 2) {
            const float s = float(side);
            const float midA = std::max(bottomLine(a), 0.4f), midB = std::max(bottomLine(b), 0.4f);
            vec3 lo[4] = {{a, bottomLine(a), s * 0.62f},
                          {b, bottomLine(b), s * 0.62f},
                          {b, midB, s * kHalfWidth},
                          {a, midA, s * kHalfWidth}};
            vec3 hi[4] = {{a, midA, s * kHalfWidth},
                          {b, midB, s * kHalfWidth},
                          {b, topLine(b), s * kTopHalfWidth},
                          {a, topLine(a), s * kTopHalfWidth}};
            bodyQuad(m, lo[0], lo[1], lo[2], lo[3], {0, 0, s});
            bodyQuad(m, hi[0], hi[1], hi[2], hi[3], {0, 0, s});
        }
        // Top: a crowned hood and trunk; over the cabin only the sills beside the door openings.
        const bool cabin = a >= -1.05f && b <= 0.55f;
        const float zs[4] = {-kTopHalfWidth, -0.3f, 0.3f, kTopHalfWidth};
        const float crown[4] = {0.0f, 0.025f, 0.025f, 0.0f};
        for (int k = 0; k < 3; ++k) {
            if (cabin && k == 1)
                continue;
            float z0 = zs[k], z1 = zs[k + 1];
            if (cabin)
                k == 0 ? z1 = -0.54f : z0 = 0.54f;
            const float c0 = cabin ? 0.0f : crown[k], c1 = cabin ? 0.0f : crown[k + 1];
            bodyQuad(m, {a, topLine(a) + c0, z0}, {a, topLine(a) + c1, z1}, {b, topLine(b) + c1, z1},
                     {b, topLine(b) + c0, z0}, {0, 1, 0});
        }
        bodyQuad(m, {a, bottomLine(a), -0.62f}, {b, bottomLine(b), -0.62f}, {b, bottomLine(b), 0.62f},
                 {a, bottomLine(a), 0.62f}, {0, -1, 0});
    }
    bodyQuad(m, {1.5f, 0.06f, -0.62f}, {1.5f, 0.06f, 0.62f}, {1.5f, topLine(1.5f), 0.6f},
             {1.5f, topLine(1.5f), -0.6f}, {1, 0, 0});
    bodyQuad(m, {-1.5f, 0.06f, 0.62f}, {-1.5f, 0.06f, -0.62f}, {-1.5f, topLine(-1.5f), -0.6f},
             {-1.5f, topLine(-1.5f), 0.6f}, {-1, 0, 0});
}

// A box from a to b with a rectangular section, for pillars.
void strut(MeshData& m, const vec3& a, const vec3& b, float halfW, float halfD, const vec3& sideRef) {
    const vec3 dir = glm::normalize(b - a);
    const vec3 side = glm::normalize(glm::cross(dir, sideRef));
    const vec3 up = glm::cross(side, dir);
    addOrientedBox(m, 0.5f * (a + b), side * halfW, up * halfD, -dir * (0.5f * glm::length(b - a)), 0.5f);
}

void greenhouse(GeneratedModel& g) {
    MeshData& body = g.model.mesh("Body", "CarPaint");
    MeshData& trim = g.model.mesh("Trim", "CarMetal");
    const float roofY = 1.0f, roofHalf = 0.49f;
    for (int side = -1; side <= 1; side += 2) {
        const float s = float(side);
        strut(trim, {0.55f, kBelt, s * 0.57f}, {0.06f, roofY, s * roofHalf}, 0.03f, 0.035f, {0, 0, 1});
        strut(trim, {-0.3f, kBelt, s * 0.57f}, {-0.34f, roofY, s * roofHalf}, 0.04f, 0.03f, {0, 0, 1});
        // The C-pillar is a broad panel.
        const vec3 p0(-1.05f, kBelt, s * 0.57f), p1(-0.72f, kBelt, s * 0.57f), p2(-0.7f, roofY, s * roofHalf),
            p3(-0.84f, roofY, s * roofHalf);
        bodyQuad(body, p0, p1, p2, p3, {0, 0.4f, s});
        const vec3 in(0, 0, -s * 0.03f);
        bodyQuad(body, p0 + in, p1 + in, p2 + in, p3 + in, {0, -0.4f, -s});
    }
    addBox(body, {-0.86f, roofY - 0.03f, -roofHalf - 0.01f}, {0.1f, roofY + 0.02f, roofHalf + 0.01f}, 1.0f);
    // Windscreen cracked but in place, rear window gone.
    MeshData& glass = g.model.mesh("Glass", "CarGlass");
    const vec3 w0(0.53f, kBelt + 0.01f, -0.55f), w1(0.53f, kBelt + 0.01f, 0.55f),
        w2(0.08f, roofY - 0.02f, 0.47f), w3(0.08f, roofY - 0.02f, -0.47f);
    const vec3 wn = glm::normalize(glm::cross(w1 - w0, w3 - w0));
    const vec3 ws[4] = {w0, w1, w2, w3};
    const vec2 wuv[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    glass.addQuad(ws, wn, wuv);
    const vec3 wb[4] = {w1, w0, w3, w2};
    glass.addQuad(wb, -wn, wuv);
    // Frame under the rear window.
    strut(trim, {-1.05f, kBelt + 0.02f, -0.55f}, {-1.05f, kBelt + 0.02f, 0.55f}, 0.03f, 0.02f, {0, 1, 0});
}

void interior(GeneratedModel& g) {
    MeshData& in = g.model.mesh("Interior", "CarInside");
    // Inner walls, floor, firewall and rear bulkhead of the cabin, all facing inwards.
    const float x0 = -1.05f, x1 = 0.55f, floorY = 0.18f, wall = 0.54f;
    const vec3 pw[4] = {{x0, floorY, wall}, {x1, floorY, wall}, {x1, kBelt, wall}, {x0, kBelt, wall}};
    const vec2 uv[4] = {{0, 1}, {2, 1}, {2, 0}, {0, 0}};
    const vec3 pwl[4] = {pw[1], pw[0], pw[3], pw[2]};
    in.addQuad(pwl, {0, 0, -1}, uv);
    const vec3 pwr[4] = {{x0, floorY, -wall}, {x1, floorY, -wall}, {x1, kBelt, -wall}, {x0, kBelt, -wall}};
    in.addQuad(pwr, {0, 0, 1}, uv);
    const vec3 pf[4] = {{x0, floorY, -wall}, {x0, floorY, wall}, {x1, floorY, wall}, {x1, floorY, -wall}};
    in.addQuad(pf, {0, 1, 0}, uv);
    const vec3 fw[4] = {{x1, floorY, -wall}, {x1, floorY, wall}, {x1, kBelt, wall}, {x1, kBelt, -wall}};
    in.addQuad(fw, {-1, 0, 0}, uv);
    const vec3 rb[4] = {{x0, floorY, wall}, {x0, floorY, -wall}, {x0, kBelt, -wall}, {x0, kBelt, wall}};
    in.addQuad(rb, {1, 0, 0}, uv);
    // Roof lining.
    const vec3 rl[4] = {
        {-0.84f, 0.96f, -0.48f}, {0.08f, 0.96f, -0.48f}, {0.08f, 0.96f, 0.48f}, {-0.84f, 0.96f, 0.48f}};
    in.addQuad(rl, {0, -1, 0}, uv);
    // Seats (the springs show through the burnt cushions), dashboard and steering wheel.
    for (float z : {-0.27f, 0.27f}) {
        addBox(in, {-0.32f, floorY, z - 0.21f}, {0.08f, 0.42f, z + 0.21f}, 0.5f, false);
        addOrientedBox(in, {-0.4f, 0.66f, z}, {0.05f, 0.02f, 0.0f}, {-0.02f, 0.25f, 0.0f}, {0, 0, 0.2f},
                       0.5f);
    }
    addBox(in, {-1.0f, floorY, -0.5f}, {-0.6f, 0.4f, 0.5f}, 0.5f, false);
    addBox(in, {-1.04f, 0.4f, -0.5f}, {-0.94f, 0.75f, 0.5f}, 0.5f, false);
    addBox(in, {0.36f, 0.48f, -0.52f}, {0.55f, 0.72f, 0.52f}, 0.5f, false);
    std::vector<vec3> ring;
    for (int i = 0; i <= 12; ++i) {
        const float a = 6.2832f * float(i) / 12.0f;
        ring.push_back(vec3(0.3f, 0.62f, 0.27f) + 0.15f * vec3(0.4f * std::cos(a), std::cos(a), std::sin(a)));
    }
    addTube(g.model.mesh("Trim", "CarMetal"), ring, std::vector<float>(ring.size(), 0.015f), 4, 1.0f, 1.0f,
            false);
}

void wheels(GeneratedModel& g) {
    MeshData& tyres = g.model.mesh("Wheels", "CarTire");
    MeshData& rims = g.model.mesh("Rims", "CarMetal");
    for (float x : {-kWheelX, kWheelX})
        for (int side = -1; side <= 1; side += 2) {
            const vec3 c(x, kWheelY, float(side) * 0.56f);
            const vec3 axis(0, 0, float(side));
            addTube(tyres, {c - axis * 0.11f, c + axis * 0.11f}, {kWheelR, kWheelR}, 18, 4.0f, 1.0f, true);
            addDisc(tyres, c - axis * 0.11f, -axis, kWheelR, 18);
            addDisc(rims, c + axis * 0.112f, axis, 0.19f, 14);
        }
    // Flat tyres: squash everything below the ground onto it.
    for (vec3& p : tyres.positions)
        p.y = std::max(p.y, kGround);
    // Bumpers.
    MeshData& trim = g.model.mesh("Trim", "CarMetal");
    addBox(trim, {1.46f, 0.12f, -0.66f}, {1.58f, 0.26f, 0.66f}, 0.5f);
    addOrientedBox(trim, {-1.52f, 0.2f, 0.0f}, {0.06f, 0.0f, 0.0f}, {0.0f, 0.07f, 0.012f},
                   {0.0f, -0.012f, 0.66f}, 0.5f);
}

} // namespace

GeneratedModel buildCar(TextureLibrary& lib) {
    GeneratedModel g;
    g.model.fileStem = "car";
    Image color(1024, 512);
    paintCarBody(color);
    lib.ok = writeJpeg(lib.assetsDir, "textures/car_body.jpg", color) && lib.ok;
    g.model.materials.push_back({"CarPaint", "textures/car_body.jpg", kNoLightMap, glm::vec3(0.4f), 32.0f});
    g.model.materials.push_back(lib.material("CarGlass", "glass_dirty"));
    g.model.materials.push_back(lib.material("CarMetal", "rust_metal"));
    g.model.materials.push_back(lib.material("CarInside", "fabric"));
    g.model.materials.push_back(lib.material("CarTire", "tire_rubber"));
    shell(g.model.mesh("Body", "CarPaint"));
    greenhouse(g);
    interior(g);
    wheels(g);
    return g;
}
