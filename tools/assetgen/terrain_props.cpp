// Things standing on the terrain: the three street lamps under the scene's point lights, the railing
// along the retaining wall, concrete road barriers, oil drums and tyres by the wrecks, the crate the
// leaning window rests on, and heaps of facade rubble at the foot of the building.
#include "terrain_parts.hpp"

#include "noise.hpp"

#include <cmath>

namespace {

struct LampPost {
    glm::vec3 light; // where the scene's point light sits
    glm::vec3 base;  // foot of the pole
};

void lamp(GeneratedModel& g, const LampPost& l) {
    MeshData& metal = g.model.mesh("Lamps", "LampMetal");
    const float top = l.light.y + 0.45f;
    addTube(
        metal,
        {l.base + glm::vec3(0, -0.3f, 0), l.base + glm::vec3(0, 0.6f, 0), glm::vec3(l.base.x, top, l.base.z)},
        {0.12f, 0.085f, 0.06f}, 10, 1.0f, 1.5f, true);
    addBox(metal, l.base + glm::vec3(-0.2f, -0.2f, -0.2f), l.base + glm::vec3(0.2f, 0.35f, 0.2f), 1.0f,
           false);
    // The arm bends over towards the road and ends in the lamp head.
    const glm::vec3 start(l.base.x, top - 0.25f, l.base.z);
    const glm::vec3 end(l.light.x, l.light.y + 0.22f, l.light.z);
    const glm::vec3 mid = 0.5f * (start + end) + glm::vec3(0, 0.35f, 0);
    addTube(metal, {start, mid, end}, {0.045f, 0.04f, 0.04f}, 6, 1.0f, 1.0f, false);
    const glm::vec3 dir = glm::normalize(glm::vec3(end.x - start.x, 0.0f, end.z - start.z));
    const glm::vec3 side = glm::cross(glm::vec3(0, 1, 0), dir);
    // Hood above the light and the glowing glass under it (left out of the bake: the light is inside).
    addOrientedBox(metal, l.light + glm::vec3(0, 0.16f, 0), dir * 0.42f, glm::vec3(0, 0.07f, 0), side * 0.22f,
                   0.5f);
    MeshData& glow = g.model.mesh("LampGlow", "LampGlow");
    const size_t firstGlowVertex = glow.normals.size();
    addOrientedBox(glow, l.light + glm::vec3(0, 0.02f, 0), dir * 0.34f, glm::vec3(0, 0.08f, 0), side * 0.17f,
                   0.5f);
    // The glass is lit from within: with its normals turned inwards the lamp's own point light, a few
    // centimetres away, makes it glow in the viewer, and it goes dark with the light when it flickers
    // out. The winding stays outward, so culling still keeps the outside.
    for (size_t i = firstGlowVertex; i < glow.normals.size(); ++i)
        glow.normals[i] = -glow.normals[i];
}

void barrier(MeshData& m, const glm::vec3& at, float yaw, float tilt) {
    const glm::vec3 along(std::cos(yaw), 0.0f, std::sin(yaw));
    const glm::vec3 up = glm::normalize(glm::vec3(0, 1, 0) + glm::cross(along, glm::vec3(0, 1, 0)) * tilt);
    const glm::vec3 side = glm::cross(along, up);
    addOrientedBox(m, at + up * 0.15f, along * 1.0f, up * 0.15f, side * 0.3f, 1.0f);
    addOrientedBox(m, at + up * 0.5f, along * 1.0f, up * 0.22f, side * 0.14f, 1.0f);
}

void drum(MeshData& m, const glm::vec3& at, bool lying, float yaw) {
    if (lying) {
        const glm::vec3 dir(std::cos(yaw), 0.0f, std::sin(yaw));
        addTube(m, {at + glm::vec3(0, 0.29f, 0) - dir * 0.44f, at + glm::vec3(0, 0.29f, 0) + dir * 0.44f},
                {0.29f, 0.29f}, 12, 2.0f, 1.0f, true);
        return;
    }
    addTube(m, {at, at + glm::vec3(0, 0.88f, 0)}, {0.29f, 0.29f}, 12, 2.0f, 1.0f, true);
}

void tire(MeshData& m, const glm::vec3& at, const glm::vec3& axis) {
    const glm::vec3 a = glm::normalize(axis) * 0.1f;
    addTube(m, {at - a, at + a}, {0.32f, 0.32f}, 14, 3.0f, 1.0f, true);
    addDisc(m, at - a, -axis, 0.32f, 14);
}

void rubbleHeap(MeshData& m, const glm::vec3& centre, float radius, float height, int count, uint32_t seed) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const float r = radius * std::sqrt(rng.unit()), a = rng.range(0.0f, 6.2832f);
        const glm::vec3 half(rng.range(0.1f, 0.45f), rng.range(0.06f, 0.2f), rng.range(0.1f, 0.4f));
        const glm::vec3 c =
            centre + glm::vec3(r * std::cos(a), height * (1.0f - r / radius) * rng.unit(), r * std::sin(a));
        const float yaw = rng.range(0.0f, 6.28f), pitch = rng.range(-0.5f, 0.5f);
        const glm::vec3 ax(std::cos(yaw), 0.0f, std::sin(yaw));
        const glm::vec3 ay =
            glm::normalize(glm::vec3(0, 1, 0) + glm::vec3(-std::sin(yaw), 0, std::cos(yaw)) * pitch);
        const glm::vec3 az = glm::cross(ax, ay);
        const glm::vec3 ay2 = glm::cross(az, ax);
        addOrientedBox(m, c, ax * half.x, ay2 * half.y, az * half.z, 0.8f);
    }
}

// A dead shrub: a few stems fanning out from the root, each forking once or twice.
void shrub(MeshData& m, const glm::vec3& base, float size, Rng& rng) {
    const int stems = 3 + int(rng.unit() * 3.0f);
    for (int s = 0; s < stems; ++s) {
        const float a = rng.range(0.0f, 6.2832f), lean = rng.range(0.25f, 0.8f);
        glm::vec3 dir = glm::normalize(glm::vec3(std::cos(a) * lean, 1.0f, std::sin(a) * lean));
        glm::vec3 p = base - glm::vec3(0, 0.1f, 0);
        std::vector<glm::vec3> pts{p};
        for (int k = 0; k < 3; ++k) {
            dir = glm::normalize(
                dir + glm::vec3(rng.range(-0.3f, 0.3f), rng.range(-0.1f, 0.1f), rng.range(-0.3f, 0.3f)));
            p += dir * size * 0.4f;
            pts.push_back(p);
        }
        addTube(m, pts, {0.025f * size, 0.018f * size, 0.01f * size, 0.004f}, 3, 1.0f, 0.6f, false);
        const glm::vec3 fork = pts[2];
        const glm::vec3 fdir =
            glm::normalize(dir + glm::vec3(rng.range(-0.8f, 0.8f), 0.2f, rng.range(-0.8f, 0.8f)));
        addTube(m, {fork, fork + fdir * size * 0.3f, fork + fdir * size * 0.55f + glm::vec3(0, 0.05f, 0)},
                {0.012f * size, 0.008f * size, 0.003f}, 3, 1.0f, 0.6f, false);
    }
}

bool freeForShrub(const glm::vec3& p) {
    const glm::vec2 busy[] = {{-20, 8},  {-10, -30}, {-40, 6},  {-6, -19},  {-10, 15},
                              {-40, -5}, {20, 25},   {-30, 20}, {-10, -35}, {-18, 17.3f}};
    for (const glm::vec2& b : busy)
        if (glm::length(glm::vec2(p.x, p.z) - b) < 3.0f)
            return false;
    const bool building = p.x > kBuildingMinX - 2.0f && p.x < kBuildingMaxX + 2.0f &&
                          p.z > kBuildingMinZ - 2.0f && p.z < kBuildingMaxZ + 2.0f;
    return !building && (p.x < -30.0f || p.x > -17.0f);
}

// A leaning wooden utility pole with its cross arm; returns the three wire ends.
std::vector<glm::vec3> utilityPole(MeshData& wood, const glm::vec3& base, float tiltX, float tiltZ) {
    const glm::vec3 up = glm::normalize(glm::vec3(tiltX, 1.0f, tiltZ));
    const glm::vec3 top = base + up * 8.5f;
    addTube(wood, {base - up * 0.8f, top}, {0.14f, 0.1f}, 7, 1.0f, 1.5f, true);
    const glm::vec3 arm = top - up * 0.45f;
    addOrientedBox(wood, arm, glm::vec3(0, 0, 0.9f), up * 0.06f, glm::vec3(0.06f, 0, 0), 1.0f);
    return {arm + glm::vec3(0, 0.08f, -0.8f), arm + glm::vec3(0, 0.08f, 0.0f),
            arm + glm::vec3(0, 0.08f, 0.8f)};
}

} // namespace

void buildTerrainProps(GeneratedModel& g, TextureLibrary& lib) {
    g.model.materials.push_back(lib.material("LampMetal", "lamp_metal"));
    g.model.materials.push_back(lib.material("LampGlow", "lamp_glow"));
    g.model.materials.push_back(lib.material("RustMetal", "rust_metal"));
    g.model.materials.push_back(lib.material("Rubble", "rubble"));
    g.model.materials.push_back(lib.material("Tires", "tire_rubber"));
    g.model.materials.push_back(lib.material("Boards", "wood_boards"));

    const std::vector<PointLight> lights = streetLights();
    lamp(g, {lights[0].position, {-28.6f, kWalkY, lights[0].position.z}});
    lamp(g, {lights[1].position, {-15.3f, -1.36f, lights[1].position.z}});
    lamp(g, {lights[2].position, {-28.6f, kWalkY, lights[2].position.z}});

    // Railing along the top of the retaining wall, bent and missing in places.
    MeshData& rail = g.model.mesh("Railing", "RustMetal");
    Rng rng(3301);
    const float railX = -29.18f, railY = kWalkY + 0.15f;
    for (float z = kDetailMinZ; z < kDetailMaxZ; z += 2.5f) {
        if (rng.unit() < 0.12f)
            continue;
        const float lean = rng.range(-0.08f, 0.08f);
        addTube(rail, {{railX, railY, z}, {railX - lean, railY + 1.0f, z}}, {0.03f, 0.03f}, 4, 1.0f, 1.0f,
                true);
        if (rng.unit() < 0.8f)
            for (int k = 0; k < 2; ++k) {
                const float y = railY + 0.45f + 0.5f * float(k);
                const float sag = rng.range(0.0f, 0.12f);
                addTube(rail, {{railX, y, z}, {railX - 0.02f, y - sag, z + 1.25f}, {railX, y, z + 2.5f}},
                        {0.022f, 0.022f, 0.022f}, 4, 1.0f, 1.0f, false);
            }
    }

    MeshData& concrete = g.model.mesh("Barriers", "Concrete");
    barrier(concrete, {-19.0f, kWalkY, -8.0f}, 1.57f, 0.0f);
    barrier(concrete, {-19.1f, kWalkY, -10.3f}, 1.6f, 0.0f);
    barrier(concrete, {-22.6f, kRoadY + 0.05f, -44.0f}, 0.35f, 0.25f);
    barrier(concrete, {-25.6f, kRoadY + 0.05f, -46.5f}, -0.2f, 0.0f);
    barrier(concrete, {-20.2f, kWalkY, 30.0f}, 1.4f, 0.0f);
    barrier(concrete, {-27.8f, kWalkY, 36.0f}, 1.5f, 0.0f);

    MeshData& metal = g.model.mesh("Drums", "RustMetal");
    drum(metal, {-12.8f, -1.62f, -27.5f}, false, 0.0f);
    drum(metal, {-13.5f, -1.6f, -28.3f}, false, 0.0f);
    drum(metal, {-12.5f, -1.66f, -33.2f}, true, 0.7f);
    drum(metal, {-19.3f, kWalkY, 12.8f}, false, 0.0f);
    drum(metal, {-36.5f, -4.2f, 9.5f}, true, 2.1f);

    MeshData& tires = g.model.mesh("Tires", "Tires");
    tire(tires, {-13.0f, -1.45f, -31.0f}, {0.2f, 1.0f, 0.1f});
    tire(tires, {-13.1f, -1.24f, -31.1f}, {0.0f, 1.0f, 0.2f});
    tire(tires, {-23.8f, kWalkY + 0.25f, 21.0f}, {1.0f, 0.1f, 0.2f});
    tire(tires, {-37.5f, -3.9f, 3.2f}, {0.3f, 1.0f, 0.0f});

    // The crate the window leans against.
    MeshData& crate = g.model.mesh("Crate", "Boards");
    addOrientedBox(crate, {-17.25f, -1.1f, 18.05f}, glm::vec3(0.5f, 0.0f, -0.42f),
                   glm::vec3(0.0f, 0.32f, 0.0f), glm::vec3(0.3f, 0.0f, 0.36f), 1.0f);

    // Dead shrubs on the waste land, mostly in the low field west of the street.
    MeshData& shrubs = g.model.mesh("Shrubs", "DeadWood");
    g.model.materials.push_back(lib.material("DeadWood", "bark_dead"));
    Rng shrubRng(3321);
    for (int i = 0, placed = 0; i < 500 && placed < 75; ++i) {
        const bool west = i % 3 != 2;
        const float x = west ? shrubRng.range(-78.0f, -31.0f) : shrubRng.range(-16.0f, 45.0f);
        const float z = shrubRng.range(-75.0f, 75.0f);
        const glm::vec3 p(x, groundHeight(x, z), z);
        const float size = shrubRng.range(1.2f, 2.6f);
        if (!freeForShrub(p))
            continue;
        shrub(shrubs, p, size, shrubRng);
        ++placed;
    }

    // A line of utility poles across the field, their wires sagging between them; one has fallen.
    MeshData& poles = g.model.mesh("Poles", "Boards");
    MeshData& wires = g.model.mesh("Wires", "LampMetal");
    std::vector<glm::vec3> previous;
    for (int i = 0; i < 9; ++i) {
        const float z = -96.0f + 24.0f * float(i), x = -39.0f + 2.0f * std::sin(float(i) * 1.7f);
        const glm::vec3 base(x, groundHeight(x, z), z);
        if (i == 5) {
            // Snapped at the foot and lying in the field; the wires hang to the ground.
            addTube(poles, {base + glm::vec3(0.3f, 0.15f, 0.0f), base + glm::vec3(8.0f, 0.2f, 1.0f)},
                    {0.13f, 0.1f}, 7, 1.0f, 1.5f, true);
            addTube(poles, {base - glm::vec3(0, 0.5f, 0), base + glm::vec3(0, 0.9f, 0)}, {0.14f, 0.13f}, 7,
                    1.0f, 1.5f, true);
            previous.clear();
            continue;
        }
        const std::vector<glm::vec3> ends =
            utilityPole(poles, base, 0.06f * std::sin(float(i) * 2.3f), 0.04f * std::cos(float(i)));
        if (!previous.empty())
            for (int w = 0; w < 3; ++w) {
                std::vector<glm::vec3> pts;
                for (int k = 0; k <= 10; ++k) {
                    const float f = float(k) / 10.0f;
                    pts.push_back(glm::mix(previous[w], ends[w], f) -
                                  glm::vec3(0, 1.1f * 4.0f * f * (1.0f - f), 0));
                }
                addTube(wires, pts, std::vector<float>(pts.size(), 0.025f), 3, 1.0f, 1.0f, false);
            }
        previous = ends;
    }

    // Facade pieces fallen from the blast hole and the broken roof edge.
    MeshData& rubble = g.model.mesh("Rubble", "Rubble");
    rubbleHeap(rubble, {-6.0f, -1.2f, -9.6f}, 2.6f, 0.8f, 80, 3311);
    rubbleHeap(rubble, {-11.5f, -1.2f, -9.0f}, 1.8f, 0.6f, 45, 3312);
    rubbleHeap(rubble, {-15.6f, -1.25f, -4.8f}, 1.6f, 0.5f, 40, 3313);
    rubbleHeap(rubble, {-6.0f, 1.0f, -19.0f}, 3.2f, 0.7f, 60, 3314);
    rubbleHeap(rubble, {-30.5f, -4.3f, -12.0f}, 1.8f, 0.5f, 35, 3315);
}
