// The building's structure inside the shell: columns, downstand beams and partition walls. The two top
// storeys, which the camera flies through, are lightmapped; the lower ones use tiled concrete.
#include "building_parts.hpp"
#include "cell_panel.hpp"

namespace {

const glm::vec2 kColumns[2] = {{-8.0f, 0.0f}, {-2.0f, 0.0f}};
constexpr float kColumnHalf = 0.25f;
constexpr float kBeamHalf = 0.2f, kBeamDepth = 0.45f;
constexpr unsigned kSides = 1 | 2 | 16 | 32;

void partition(GeneratedModel& g, const CellPanel& p, bool lightmapped) {
    if (lightmapped) {
        AtlasMesh& a = g.atlases[kAtlasInterior];
        emitPanelFaces(p, false, 0, p.height, a.mesh, addPanelChart(a, p, false, 0, p.height, kPartitionFace),
                       0);
        emitPanelFaces(p, true, 0, p.height, a.mesh, addPanelChart(a, p, true, 0, p.height, kPartitionFace),
                       0);
    } else {
        emitPanelFaces(p, false, 0, p.height, g.model.mesh("LowerWall", "OldPlaster"), -1, 3.0f);
        emitPanelFaces(p, true, 0, p.height, g.model.mesh("LowerWall", "OldPlaster"), -1, 3.0f);
    }
    emitPanelEdges(p, PanelOutline{true, true, false, true}, g.model.mesh("Reveals", "BrokenConcrete"), 2.0f);
}

// The wall between the open floor and the east rooms, with a door the camera looks through.
CellPanel eastPartition(int storey) {
    CellPanel p;
    p.origin = {0.875f, floorY(storey), kBuildingMinZ + kWallThickness};
    p.uAxis = {0, 0, 1};
    p.vAxis = {0, 1, 0};
    p.width = kBuildingMaxZ - kBuildingMinZ - 2 * kWallThickness;
    p.height = kStoreyHeight - kSlabThickness;
    p.thickness = 0.15f;
    std::vector<PanelRect> holes = {{2.0f, -1.0f, 3.8f, 2.2f}, {10.5f, -1.0f, 11.7f, 2.1f}};
    addRaggedHole(holes, {6.4f, 0.7f, 8.4f, 2.0f}, 0.3f, 0.3f, 500u + uint32_t(storey));
    if (storey == 5)
        addRaggedHole(holes, {4.8f, 1.6f, 9.6f, 4.0f}, 0.4f, 0.5f, 510);
    cutPanel(p, holes);
    return p;
}

} // namespace

void buildInterior(GeneratedModel& g) {
    AtlasMesh& interior = g.atlases[kAtlasInterior];
    for (int k = 0; k < kStoreys; ++k) {
        const float floor = floorY(k), ceiling = floorY(k + 1) - kSlabThickness;
        for (const glm::vec2& c : kColumns) {
            // The west column of the top storey stood under the fallen roof: only a stump is left.
            const bool stump = k == 5 && c.x < kCollapseMaxX;
            const float top = stump ? floor + 1.8f : ceiling;
            const glm::vec3 lo(c.x - kColumnHalf, floor, c.y - kColumnHalf),
                hi(c.x + kColumnHalf, top, c.y + kColumnHalf);
            if (k >= 4)
                addAtlasBox(interior, lo, hi, kColumnFace, kSides | (stump ? 8u : 0u));
            else
                addBox(g.model.mesh("Columns", "BrokenConcrete"), lo, hi, 2.0f, false);
            if (k == 0)
                continue;
            // Downstand beam under the slab along the column line.
            float z0 = kBuildingMinZ + kWallThickness, z1 = kBuildingMaxZ - kWallThickness;
            const bool brokenBeam = k == 5 && c.x < kCollapseMaxX;
            if (brokenBeam)
                z0 = kCollapseMaxZ + 1.2f;
            const glm::vec3 blo(c.x - kBeamHalf, ceiling - kBeamDepth, z0), bhi(c.x + kBeamHalf, ceiling, z1);
            if (k >= 4)
                addAtlasBox(interior, blo, bhi, kBeamFace, 1 | 2 | 4 | (brokenBeam ? 16u : 0u));
            else
                addOrientedBox(g.model.mesh("Columns", "BrokenConcrete"), 0.5f * (blo + bhi),
                               {kBeamHalf, 0, 0}, {0, 0.5f * kBeamDepth, 0}, {0, 0, 0.5f * (z1 - z0)}, 2.0f);
        }
        if (k >= 1) {
            const CellPanel p = eastPartition(k);
            partition(g, p, k >= 4);
        }
    }
    // A small room in the north-west corner of the top storey, its wall burnt and broken at the top.
    CellPanel room;
    room.origin = {-9.5f, floorY(5), 4.825f};
    room.uAxis = {-1, 0, 0};
    room.vAxis = {0, 1, 0};
    room.width = 4.2f;
    room.height = kStoreyHeight - kSlabThickness;
    room.thickness = 0.15f;
    std::vector<PanelRect> holes = {{0.4f, -1.0f, 1.4f, 2.1f}};
    addRaggedHole(holes, {1.8f, 2.2f, 5.0f, 4.0f}, 0.35f, 0.5f, 520);
    cutPanel(room, holes);
    partition(g, room, true);
}
