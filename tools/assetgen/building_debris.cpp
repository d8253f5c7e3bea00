// Loose things on the building's floors: rubble heaps under the fallen roof and the blast hole, the
// roof slab that came down, the fire still smouldering on the top floor, overturned office furniture
// and bent reinforcing bars. Nothing is placed where the camera flies or the character walks.
#include "building_parts.hpp"
#include "noise.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace {

float segmentDistance(const glm::vec3& p, const glm::vec3& a, const glm::vec3& b) {
    const glm::vec3 ab = b - a;
    const float t = std::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
    return glm::length(p - (a + t * ab));
}

// A random orthonormal frame scaled by the half-sizes.
void randomFrame(Rng& rng, const glm::vec3& half, glm::vec3& ax, glm::vec3& ay, glm::vec3& az) {
    glm::mat4 r = glm::rotate(glm::mat4(1.0f), rng.range(0.0f, 6.2832f), glm::vec3(0, 1, 0));
    r = glm::rotate(r, rng.range(-0.6f, 0.6f), glm::vec3(1, 0, 0));
    r = glm::rotate(r, rng.range(-0.6f, 0.6f), glm::vec3(0, 0, 1));
    ax = glm::vec3(r[0]) * half.x;
    ay = glm::vec3(r[1]) * half.y;
    az = glm::vec3(r[2]) * half.z;
}

bool keepsClear(const glm::vec3& p, float radius) {
    return distanceToFlightPath(p) > radius + 0.6f && clearOfWalkLine(p, radius + 0.5f);
}

void rubbleHeap(MeshData& m, const glm::vec3& centre, float radius, float height, int count, uint32_t seed) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const float r = radius * std::sqrt(rng.unit()), a = rng.range(0.0f, 6.2832f);
        const glm::vec3 half(rng.range(0.06f, 0.32f), rng.range(0.04f, 0.16f), rng.range(0.06f, 0.3f));
        const float mound = height * (1.0f - r / radius) * rng.range(0.4f, 1.0f);
        const glm::vec3 c = centre + glm::vec3(r * std::cos(a), mound + half.y * 0.5f, r * std::sin(a));
        if (!keepsClear(c, std::max(half.x, half.z)))
            continue;
        glm::vec3 ax, ay, az;
        randomFrame(rng, half, ax, ay, az);
        addOrientedBox(m, c, ax, ay, az, 0.8f);
    }
}

// A long box from a to b with a square section.
void beam(MeshData& m, const glm::vec3& a, const glm::vec3& b, float halfW, float halfH, float tile) {
    const glm::vec3 dir = glm::normalize(b - a);
    const glm::vec3 ref = std::fabs(dir.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    const glm::vec3 side = glm::normalize(glm::cross(dir, ref));
    const glm::vec3 up = glm::cross(side, dir);
    addOrientedBox(m, 0.5f * (a + b), side * halfW, up * halfH, -dir * (0.5f * glm::length(b - a)), tile);
}

void desk(MeshData& m, const glm::vec3& at, float yaw, bool overturned) {
    const glm::mat4 r = glm::rotate(glm::mat4(1.0f), yaw, glm::vec3(0, 1, 0));
    const glm::vec3 x = glm::vec3(r[0]), z = glm::vec3(r[2]), y(0, 1, 0);
    if (overturned) {
        // Lying on its side: the top stands vertical, the legs stick out sideways.
        addOrientedBox(m, at + y * 0.38f, x * 0.7f, y * 0.38f, z * 0.025f, 1.0f);
        for (int i = -1; i <= 1; i += 2)
            for (int j = 0; j < 2; ++j)
                addOrientedBox(m, at + x * (0.62f * float(i)) + y * (0.08f + 0.6f * float(j)) + z * 0.38f,
                               x * 0.03f, y * 0.03f, z * 0.36f, 1.0f);
        return;
    }
    addOrientedBox(m, at + y * 0.74f, x * 0.7f, y * 0.025f, z * 0.38f, 1.0f);
    for (int i = -1; i <= 1; i += 2)
        for (int j = -1; j <= 1; j += 2)
            addOrientedBox(m, at + x * (0.64f * float(i)) + z * (0.32f * float(j)) + y * 0.36f, x * 0.03f,
                           y * 0.36f, z * 0.03f, 1.0f);
}

void cabinet(MeshData& m, const glm::vec3& at, float yaw, float tiltDeg) {
    glm::mat4 r = glm::rotate(glm::mat4(1.0f), yaw, glm::vec3(0, 1, 0));
    r = glm::rotate(r, glm::radians(tiltDeg), glm::vec3(0, 0, 1));
    const glm::vec3 x = glm::vec3(r[0]), y = glm::vec3(r[1]), z = glm::vec3(r[2]);
    addOrientedBox(m, at + y * 0.65f, x * 0.23f, y * 0.65f, z * 0.3f, 1.0f);
}

} // namespace

float distanceToFlightPath(const glm::vec3& p) {
    const std::vector<CameraRow> route = cameraRoute();
    float best = 1e9f;
    for (int i = 0; i < 6; ++i)
        best = std::min(best, segmentDistance(p, route[i].position, route[i + 1].position));
    return best;
}

bool clearOfWalkLine(const glm::vec3& p, float margin) {
    const bool inX = std::fabs(p.x + 5.35f) < margin + 0.4f;
    const bool inZ = p.z > -5.2f - margin && p.z < 4.6f + margin;
    const bool inY = p.y > floorY(5) - 0.5f && p.y < floorY(6);
    return !(inX && inZ && inY);
}

void buildDebris(GeneratedModel& g, TextureLibrary& lib) {
    g.model.materials.push_back(lib.material("Rubble", "rubble"));
    g.model.materials.push_back(lib.material("Charred", "charred_wood"));
    g.model.materials.push_back(lib.material("RustMetal", "rust_metal"));
    const float f5 = floorY(5), f4 = floorY(4);

    MeshData& rubble = g.model.mesh("Rubble", "Rubble");
    rubbleHeap(rubble, {-11.0f, f5, -1.0f}, 2.6f, 0.9f, 140, 11);
    rubbleHeap(rubble, {-9.2f, f5, -5.4f}, 1.6f, 0.6f, 60, 12);
    rubbleHeap(rubble, {-12.6f, f5, 3.2f}, 1.2f, 0.5f, 40, 13);
    rubbleHeap(rubble, {-7.6f, f5, 1.6f}, 0.9f, 0.4f, 25, 14);
    rubbleHeap(rubble, {-4.0f, f4, -6.4f}, 1.3f, 0.5f, 50, 15);
    rubbleHeap(rubble, {-9.5f, f4, -6.3f}, 1.0f, 0.4f, 35, 16);
    rubbleHeap(rubble, {-12.8f, f4, 5.5f}, 0.9f, 0.35f, 25, 17);
    rubbleHeap(rubble, {2.6f, f4, 5.8f}, 1.0f, 0.4f, 25, 18);
    rubbleHeap(rubble, {2.8f, f5, -5.0f}, 1.1f, 0.45f, 30, 19);

    // The roof slab that fell in, one edge on the floor, leaning on the rubble.
    MeshData& slab = g.model.mesh("FallenSlab", "BrokenConcrete");
    {
        const float tilt = glm::radians(24.0f);
        const glm::vec3 x(1, 0, 0), up(0, std::cos(tilt), std::sin(tilt)),
            z(0, -std::sin(tilt), std::cos(tilt));
        addOrientedBox(slab, {-11.4f, f5 + 0.95f, 1.1f}, x * 1.9f, up * 0.15f, z * 1.5f, 2.0f);
        const glm::vec3 up2 = glm::normalize(glm::vec3(0.35f, 1.0f, 0.0f));
        addOrientedBox(slab, {-12.4f, f5 + 0.5f, -5.6f},
                       glm::normalize(glm::cross(up2, glm::vec3(0, 0, 1))) * -1.0f, up2 * 0.14f,
                       glm::vec3(0, 0, 1.2f), 2.0f);
    }

    // The fire: charred beams and furniture in a heap, glowing where they still burn.
    MeshData& fire = g.model.mesh("Fire", "Charred");
    {
        Rng rng(21);
        const glm::vec3 c(-12.0f, f5, -3.3f);
        for (int i = 0; i < 22; ++i) {
            const float a = rng.range(0.0f, 6.2832f), len = rng.range(0.8f, 2.2f), r = rng.range(0.0f, 0.9f);
            const glm::vec3 mid =
                c + glm::vec3(r * std::cos(a * 1.7f), 0.12f + rng.range(0.0f, 0.55f) * (1.0f - r),
                              r * std::sin(a * 1.7f));
            const glm::vec3 dir(std::cos(a), rng.range(-0.5f, 0.5f), std::sin(a));
            beam(fire, mid - 0.5f * len * glm::normalize(dir), mid + 0.5f * len * glm::normalize(dir),
                 rng.range(0.05f, 0.11f), rng.range(0.04f, 0.09f), 1.2f);
        }
        rubbleHeap(fire, c, 1.4f, 0.35f, 40, 22);
    }

    // Office furniture, thrown about.
    MeshData& wood = g.model.mesh("Furniture", "WoodBoards");
    MeshData& metal = g.model.mesh("Cabinets", "RustMetal");
    desk(wood, {2.2f, f5, -2.5f}, 0.4f, false);
    desk(wood, {2.4f, f5, 1.8f}, 1.9f, true);
    desk(wood, {-11.9f, f5, 6.1f}, 0.1f, true);
    desk(wood, {-1.2f, f5, 5.6f}, 2.8f, false);
    desk(wood, {-3.6f, f4, 6.2f}, 0.2f, false);
    desk(wood, {-11.5f, f4, -4.9f}, 1.2f, true);
    desk(wood, {2.5f, f4, -2.0f}, 0.7f, false);
    cabinet(metal, {3.3f, f5, 4.8f}, 0.0f, 0.0f);
    cabinet(metal, {3.3f, f5, 5.5f}, 0.1f, 0.0f);
    cabinet(metal, {-13.2f, f4, 2.0f}, 1.57f, 0.0f);
    cabinet(metal, {-0.4f, f4, 6.6f}, 0.0f, 0.0f);
    cabinet(metal, {3.2f, f4, 2.5f}, 0.3f, 0.0f);

    // Reinforcing bars sticking out of the broken roof edge and the column stump.
    MeshData& rebar = g.model.mesh("Rebar", "RustMetal");
    {
        Rng rng(31);
        const float roofY = floorY(6) - 0.15f;
        for (int i = 0; i < 26; ++i) {
            const bool alongX = i % 2 == 0;
            const float t = rng.unit();
            const glm::vec3 base = alongX ? glm::vec3(-13.4f + t * 5.8f, roofY, kCollapseMaxZ + 0.2f)
                                          : glm::vec3(kCollapseMaxX + 0.2f, roofY, -6.8f + t * 9.0f);
            const glm::vec3 out = alongX ? glm::vec3(0, 0, -1) : glm::vec3(-1, 0, 0);
            const float len = rng.range(0.3f, 1.1f), droop = rng.range(0.1f, 0.7f);
            std::vector<glm::vec3> pts;
            for (int s = 0; s <= 4; ++s) {
                const float f = float(s) / 4.0f;
                pts.push_back(base + out * (len * f) - glm::vec3(0, droop * f * f, 0));
            }
            addTube(rebar, pts, std::vector<float>(pts.size(), 0.012f), 4, 1.0f, 1.0f, false);
        }
        for (int i = 0; i < 6; ++i) {
            const glm::vec3 base(-8.0f + rng.range(-0.2f, 0.2f), floorY(5) + 1.75f, rng.range(-0.2f, 0.2f));
            const glm::vec3 tip =
                base + glm::vec3(rng.range(-0.3f, 0.3f), rng.range(0.4f, 0.9f), rng.range(-0.3f, 0.3f));
            addTube(rebar, {base, 0.5f * (base + tip) + glm::vec3(0.05f, 0.0f, 0.0f), tip},
                    {0.014f, 0.014f, 0.014f}, 4, 1.0f, 1.0f, false);
        }
    }
}
