// What stands on the roof (a brick chimney still smoking, the stairwell housing, a water tank on legs,
// air-conditioning boxes, an antenna mast) and the steps at the street door.
#include "building_parts.hpp"
#include "noise.hpp"

#include <cmath>

void buildRooftop(GeneratedModel& g, TextureLibrary& lib) {
    g.model.materials.push_back(lib.material("OldBricks", "brick_old"));
    const float roof = floorY(kStoreys);

    // The chimney whose top still burns; its smoke rises from just above the cap.
    MeshData& chimney = g.model.mesh("Chimney", "OldBricks");
    addBox(chimney, {1.4f, roof - 0.1f, -2.9f}, {2.6f, 24.45f, -1.7f}, 1.2f, false);
    MeshData& concrete = g.model.mesh("RoofHouse", "BrokenConcrete");
    addBox(concrete, {1.3f, 24.45f, -3.0f}, {2.7f, 24.55f, -1.6f}, 1.0f);
    MeshData& fire = g.model.mesh("Fire", "Charred");
    addBox(fire, {1.5f, 24.55f, -2.8f}, {2.5f, 24.62f, -1.8f}, 0.6f, false);

    // Stairwell housing with its door.
    addBox(concrete, {-0.5f, roof - 0.1f, 3.4f}, {2.7f, roof + 2.7f, 6.6f}, 2.0f, false);
    addBox(concrete, {-0.65f, roof + 2.7f, 3.25f}, {2.85f, roof + 2.85f, 6.75f}, 2.0f);
    MeshData& metal = g.model.mesh("RoofMetal", "RustMetal");
    {
        // The door stands ajar: a thin plate turned out of the housing's south face.
        const float a = 0.6f;
        const glm::vec3 hinge(0.2f, roof, 3.38f);
        const glm::vec3 dir(std::cos(a), 0.0f, -std::sin(a));
        addOrientedBox(metal, hinge + dir * 0.45f + glm::vec3(0, 1.05f, 0), dir * 0.45f,
                       glm::vec3(0, 1.05f, 0), glm::normalize(glm::cross(dir, glm::vec3(0, 1, 0))) * 0.02f,
                       1.0f);
        addBox(g.model.mesh("Glass", "DirtyGlass"), {0.2f, roof, 3.36f}, {1.1f, roof + 2.1f, 3.39f}, 2.0f);
    }

    // Water tank on four legs.
    const glm::vec3 tank(-3.6f, roof, 4.7f);
    addTube(metal, {tank + glm::vec3(0, 1.0f, 0), tank + glm::vec3(0, 2.6f, 0)}, {0.85f, 0.85f}, 16, 3.0f,
            1.5f, true);
    addDisc(metal, tank + glm::vec3(0, 1.0f, 0), {0, -1, 0}, 0.85f, 16);
    for (int i = 0; i < 4; ++i) {
        const float a = 0.785f + 1.5708f * float(i);
        const glm::vec3 leg = tank + glm::vec3(0.6f * std::cos(a), 0.0f, 0.6f * std::sin(a));
        addBox(metal, leg - glm::vec3(0.05f, 0.0f, 0.05f), leg + glm::vec3(0.05f, 1.05f, 0.05f), 1.0f, false);
    }

    // Air-conditioning boxes with their fans.
    MeshData& dark = g.model.mesh("RoofUnits", "LampMetal");
    g.model.materials.push_back(lib.material("LampMetal", "lamp_metal"));
    for (int i = 0; i < 3; ++i) {
        const glm::vec3 lo(-1.8f + 1.3f * float(i), roof, -6.4f), hi = lo + glm::vec3(1.0f, 0.75f, 0.8f);
        addBox(dark, lo, hi, 1.0f, false);
        addDisc(dark, {lo.x + 0.5f, hi.y + 0.01f, lo.z + 0.4f}, {0, 1, 0}, 0.3f, 12);
    }
    // Duct from the units into the roof.
    addTube(metal, {{-1.3f, roof + 0.4f, -5.6f}, {-1.3f, roof + 0.4f, -4.6f}, {-1.3f, roof - 0.1f, -4.2f}},
            {0.15f, 0.15f, 0.15f}, 8, 1.0f, 1.0f, false);

    // Antenna mast with cross bars, and a satellite dish on the parapet.
    const glm::vec3 mast(3.2f, roof, 6.0f);
    addTube(metal, {mast, mast + glm::vec3(0, 5.5f, 0)}, {0.05f, 0.03f}, 6, 1.0f, 2.0f, true);
    for (int i = 0; i < 3; ++i) {
        const float y = 3.6f + 0.7f * float(i), half = 0.7f - 0.18f * float(i);
        addTube(metal, {mast + glm::vec3(-half, y, 0.0f), mast + glm::vec3(half, y, 0.0f)}, {0.02f, 0.02f}, 4,
                1.0f, 1.0f, false);
    }
    addDisc(dark, {-2.5f, roof + 1.4f, -6.9f}, glm::normalize(glm::vec3(-0.3f, 0.7f, 1.0f)), 0.45f, 14);
    addDisc(dark, {-2.5f, roof + 1.4f, -6.9f}, -glm::normalize(glm::vec3(-0.3f, 0.7f, 1.0f)), 0.45f, 14);
    addTube(metal, {{-2.5f, roof, -7.05f}, {-2.5f, roof + 1.35f, -6.95f}}, {0.03f, 0.03f}, 4, 1.0f, 1.0f,
            false);

    // Vent pipes.
    Rng rng(41);
    for (int i = 0; i < 4; ++i) {
        const glm::vec3 base(rng.range(-5.5f, 3.0f), roof, rng.range(-6.5f, -3.5f));
        addTube(metal, {base, base + glm::vec3(0, rng.range(0.5f, 1.1f), 0)}, {0.09f, 0.09f}, 8, 1.0f, 1.0f,
                true);
    }

    // Steps up to the street door on the west side.
    MeshData& steps = g.model.mesh("Columns", "BrokenConcrete");
    addBox(steps, {kBuildingMinX - 1.1f, -1.6f, -1.2f}, {kBuildingMinX, -1.12f, 1.2f}, 1.0f, false);
    addBox(steps, {kBuildingMinX - 0.55f, -1.12f, -1.2f}, {kBuildingMinX, -1.0f, 1.2f}, 1.0f, false);
}
