// The dead city around the scene: burnt-out blocks along the street beyond the lamps and behind the
// building, some with their upper floors fallen in, so the street does not end in an empty field.
// Box shells textured one window per bay and storey; cheap, and seen only from a distance.
#include "terrain_parts.hpp"

#include "noise.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kBay = 3.0f; // the texture holds two bays and two storeys

// Walls of a box between lo and hi, tiled so one texture repeat is one bay wide and one storey high.
void shell(MeshData& m, const glm::vec3& lo, const glm::vec3& hi, float vOffset) {
    const glm::vec3 c = 0.5f * (lo + hi), h = 0.5f * (hi - lo);
    const glm::vec3 normals[4] = {{1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const glm::vec3& n : normals) {
        const glm::vec3 along = glm::cross(glm::vec3(0, 1, 0), n);
        const float halfAlong = std::fabs(glm::dot(h, along));
        const glm::vec3 fc = c + n * std::fabs(glm::dot(h, n));
        const glm::vec3 p[4] = {
            fc - along * halfAlong + glm::vec3(0, -h.y, 0), fc + along * halfAlong + glm::vec3(0, -h.y, 0),
            fc + along * halfAlong + glm::vec3(0, h.y, 0), fc - along * halfAlong + glm::vec3(0, h.y, 0)};
        const float w = halfAlong / kBay, t = h.y / kStoreyHeight;
        // Storeys count up from the ground, so the texture's first row is the top of a storey.
        const glm::vec2 uv[4] = {{0, vOffset + t}, {w, vOffset + t}, {w, vOffset}, {0, vOffset}};
        glm::vec3 q[4] = {p[0], p[1], p[2], p[3]};
        glm::vec2 quv[4] = {uv[0], uv[1], uv[2], uv[3]};
        if (glm::dot(glm::cross(q[1] - q[0], q[2] - q[0]), n) < 0.0f) {
            std::swap(q[1], q[3]);
            std::swap(quv[1], quv[3]);
        }
        m.addQuad(q, n, quv);
    }
}

// A block of `storeys` on its footprint; with `ruined` the top falls away in steps along x.
void block(GeneratedModel& g, float x0, float z0, float x1, float z1, int storeys, bool ruined, Rng& rng) {
    const bool brick = rng.unit() < 0.4f;
    MeshData& walls = brick ? g.model.mesh("RuinsBrick", "RuinBrick") : g.model.mesh("Ruins", "RuinFacade");
    const float vOffset = rng.unit() < 0.5f ? 0.0f : 0.5f;
    MeshData& tops = g.model.mesh("RuinTops", "Concrete");
    const float ground =
        std::min({groundHeight(x0, z0), groundHeight(x1, z0), groundHeight(x0, z1), groundHeight(x1, z1)});
    const float base = ground - 1.0f;
    const int parts = ruined ? 3 : 1;
    for (int i = 0; i < parts; ++i) {
        const float a = x0 + (x1 - x0) * float(i) / float(parts),
                    b = x0 + (x1 - x0) * float(i + 1) / float(parts);
        const int floors = ruined ? std::max(1, storeys - int(rng.unit() * float(storeys))) : storeys;
        // Whole storeys above the ground floor level, which sits a little above the ground.
        const float top = ground + 0.3f + kStoreyHeight * float(floors);
        shell(walls, {a, base, z0}, {b, top, z1}, vOffset);
        addBox(tops, {a, top - 0.01f, z0}, {b, top + 0.25f, z1}, 2.0f, false);
    }
}

} // namespace

void buildRuins(GeneratedModel& g, TextureLibrary& lib) {
    g.model.materials.push_back(lib.material("RuinFacade", "ruin_facade"));
    g.model.materials.push_back(lib.material("RuinBrick", "ruin_brick"));
    Rng rng(3501);
    struct Lot {
        float x0, z0, x1, z1;
        int storeys;
        bool ruined;
    };
    // Along the street beyond the stretch the camera follows, and behind the building.
    const Lot lots[] = {
        {-52.0f, 62.0f, -36.0f, 78.0f, 5, true},    {-50.0f, 86.0f, -34.0f, 100.0f, 7, false},
        {-14.0f, 60.0f, 2.0f, 72.0f, 4, true},      {-15.0f, 80.0f, -3.0f, 98.0f, 6, false},
        {-52.0f, -78.0f, -36.0f, -62.0f, 6, false}, {-50.0f, -100.0f, -35.0f, -86.0f, 4, true},
        {-15.0f, -74.0f, 0.0f, -60.0f, 5, true},    {-14.0f, -98.0f, 4.0f, -84.0f, 7, false},
        {28.0f, -24.0f, 42.0f, -6.0f, 5, true},     {34.0f, 4.0f, 52.0f, 18.0f, 6, false},
        {22.0f, 44.0f, 40.0f, 58.0f, 4, true},      {48.0f, -52.0f, 64.0f, -36.0f, 8, false},
        {-80.0f, 20.0f, -66.0f, 36.0f, 5, true},    {-84.0f, -30.0f, -68.0f, -12.0f, 6, false},
    };
    for (const Lot& l : lots)
        block(g, l.x0, l.z0, l.x1, l.z1, l.storeys, l.ruined, rng);
}
