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
    addOrientedBox(g.model.mesh("LampGlow", "LampGlow"), l.light + glm::vec3(0, 0.02f, 0), dir * 0.34f,
                   glm::vec3(0, 0.08f, 0), side * 0.17f, 0.5f);
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

    // Facade pieces fallen from the blast hole and the broken roof edge.
    MeshData& rubble = g.model.mesh("Rubble", "Rubble");
    rubbleHeap(rubble, {-6.0f, -1.2f, -9.6f}, 2.6f, 0.8f, 80, 3311);
    rubbleHeap(rubble, {-11.5f, -1.2f, -9.0f}, 1.8f, 0.6f, 45, 3312);
    rubbleHeap(rubble, {-15.6f, -1.25f, -4.8f}, 1.6f, 0.5f, 40, 3313);
    rubbleHeap(rubble, {-6.0f, 1.0f, -19.0f}, 3.2f, 0.7f, 60, 3314);
    rubbleHeap(rubble, {-30.5f, -4.3f, -12.0f}, 1.8f, 0.5f, 35, 3315);
}
