// The building's shell: four facade walls with their windows, shop fronts and blast holes, the floor
// slabs, and the roof that has partly fallen in over the top storey.
#include "building_parts.hpp"
#include "cell_panel.hpp"

#include <algorithm>

namespace {

constexpr float kWallTop = 21.92f + kParapetHeight;
constexpr float kConcreteTile = 2.0f;

struct FacadeFrame {
    glm::vec3 origin;
    glm::vec3 uAxis;
    float width;
};

FacadeFrame facadeFrame(int side) {
    switch (side) {
    case kFacadeSouth:
        return {{kBuildingMaxX, kWallBaseY, kBuildingMinZ}, {-1, 0, 0}, kBuildingMaxX - kBuildingMinX};
    case kFacadeNorth:
        return {{kBuildingMinX, kWallBaseY, kBuildingMaxZ}, {1, 0, 0}, kBuildingMaxX - kBuildingMinX};
    case kFacadeEast:
        return {{kBuildingMaxX, kWallBaseY, kBuildingMaxZ}, {0, 0, -1}, kBuildingMaxZ - kBuildingMinZ};
    default:
        return {{kBuildingMinX, kWallBaseY, kBuildingMinZ}, {0, 0, 1}, kBuildingMaxZ - kBuildingMinZ};
    }
}

// Panel v coordinate of a world height.
float vOf(float y) {
    return y - kWallBaseY;
}

std::vector<PanelRect> facadeHoles(int side, const FacadeFrame& f,
                                   std::vector<FacadeOpening>* openings = nullptr) {
    std::vector<PanelRect> holes;
    const int bays = int(f.width / 3.0f + 0.5f);
    // The blast hole in the south wall over the top two storeys, which the camera flies through.
    const PanelRect breach4{7.0f, vOf(14.9f), 12.6f, vOf(17.8f)};
    const PanelRect breach5{6.6f, vOf(18.1f), 13.2f, vOf(21.3f)};
    auto inBreach = [&](const PanelRect& r) {
        if (side != kFacadeSouth)
            return false;
        for (const PanelRect& b : {breach4, breach5})
            if (r.u0 < b.u1 + 0.3f && r.u1 > b.u0 - 0.3f && r.v0 < b.v1 + 0.3f && r.v1 > b.v0 - 0.3f)
                return true;
        return false;
    };
    for (int k = 0; k < kStoreys; ++k)
        for (int b = 0; b < bays; ++b) {
            const float bay = 3.0f * float(b);
            PanelRect r{bay + 0.7f, vOf(floorY(k) + 0.9f), bay + 2.3f, vOf(floorY(k) + 2.6f)};
            if (k == 0) {
                r.v0 = vOf(floorY(0) + 1.0f);
                if (side == kFacadeWest && (b == 1 || b == 3))
                    r = {bay + 0.35f, vOf(floorY(0) + 0.35f), bay + 2.65f, vOf(floorY(0) + 2.9f)};
                if ((side == kFacadeWest && b == 2) || (side == kFacadeNorth && b == 3))
                    r = {bay + 0.8f, vOf(floorY(0)), bay + 2.2f, vOf(floorY(0) + 2.5f)};
            }
            if (inBreach(r))
                continue;
            holes.push_back(r);
            if (openings) {
                FacadeOpening o;
                o.corner = f.origin + r.u0 * f.uAxis + glm::vec3(0, r.v0, 0);
                o.along = f.uAxis;
                o.outward = glm::cross(f.uAxis, glm::vec3(0, 1, 0));
                o.width = r.u1 - r.u0;
                o.height = r.v1 - r.v0;
                o.storey = k;
                o.side = side;
                o.kind = r.u1 - r.u0 > 2.0f
                             ? FacadeOpening::kShopFront
                             : (r.v0 == vOf(floorY(0)) ? FacadeOpening::kDoor : FacadeOpening::kWindow);
                openings->push_back(o);
            }
        }
    if (side == kFacadeSouth) {
        addRaggedHole(holes, breach4, 0.45f, 0.45f, 401);
        addRaggedHole(holes, breach5, 0.5f, 0.55f, 402);
        // The parapet and spandrel over the fallen roof.
        addRaggedHole(holes, {13.4f, vOf(21.0f), 17.0f, vOf(kWallTop) + 1.0f}, 0.45f, 0.5f, 403);
    }
    if (side == kFacadeWest)
        addRaggedHole(holes, {1.0f, vOf(20.9f), 9.7f, vOf(kWallTop) + 1.0f}, 0.5f, 0.6f, 404);
    return holes;
}

CellPanel facadePanel(int side) {
    const FacadeFrame f = facadeFrame(side);
    CellPanel p;
    p.origin = f.origin;
    p.uAxis = f.uAxis;
    p.vAxis = {0, 1, 0};
    p.width = f.width;
    p.height = vOf(kWallTop);
    p.thickness = kWallThickness;
    std::vector<float> levels;
    for (int k = 0; k <= kStoreys; ++k) {
        levels.push_back(vOf(floorY(k)));
        levels.push_back(vOf(floorY(k) - kSlabThickness));
    }
    cutPanel(p, facadeHoles(side, f), levels);
    // Slab edges stay whole so no floor is ever seen end-on through a hole.
    for (int r = 0; r < p.rows(); ++r) {
        const float v = 0.5f * (p.vCuts[r] + p.vCuts[r + 1]);
        for (int k = 1; k < kStoreys; ++k)
            if (v > vOf(floorY(k) - kSlabThickness) && v < vOf(floorY(k)))
                for (int c = 0; c < p.columns(); ++c)
                    p.solid[size_t(r) * p.columns() + c] = 1;
    }
    // The corners stay whole: the walls' end faces are hidden inside the neighbouring wall.
    for (int r = 0; r < p.rows(); ++r) {
        p.solid[size_t(r) * p.columns()] = 1;
        p.solid[size_t(r) * p.columns() + p.columns() - 1] = 1;
    }
    return p;
}

CellPanel slabPanel(float topY, bool roof) {
    CellPanel p;
    p.origin = {kBuildingMinX + kWallThickness, topY, kBuildingMaxZ - kWallThickness};
    p.uAxis = {1, 0, 0};
    p.vAxis = {0, 0, -1};
    p.width = kBuildingMaxX - kBuildingMinX - 2 * kWallThickness;
    p.height = kBuildingMaxZ - kBuildingMinZ - 2 * kWallThickness;
    p.thickness = kSlabThickness;
    std::vector<PanelRect> holes;
    if (roof) {
        const float u1 = kCollapseMaxX - p.origin.x, v0 = p.origin.z - kCollapseMaxZ;
        addRaggedHole(holes, {-1.0f, v0, u1, p.height + 1.0f}, 0.6f, 0.8f, 405);
        // The broken edge is irregular deeper in too.
        addRaggedHole(holes, {u1 - 0.2f, v0 + 2.0f, u1 + 1.1f, v0 + 5.5f}, 0.5f, 0.5f, 406);
    }
    cutPanel(p, holes);
    return p;
}

} // namespace

std::vector<FacadeOpening> facadeOpenings() {
    std::vector<FacadeOpening> out;
    for (int side = 0; side < 4; ++side)
        facadeHoles(side, facadeFrame(side), &out);
    return out;
}

void buildShell(GeneratedModel& g, TextureLibrary& lib) {
    ModelData& model = g.model;
    model.materials.push_back(lib.material("BrokenConcrete", "concrete_raw"));
    model.materials.push_back(lib.material("OldPlaster", "plaster_wall"));

    const int facadeAtlas[4] = {kAtlasSouth, kAtlasNorth, kAtlasEast, kAtlasWest};
    for (int side = 0; side < 4; ++side) {
        const CellPanel p = facadePanel(side);
        AtlasMesh& outer = g.atlases[facadeAtlas[side]];
        emitPanelFaces(p, false, 0.0f, p.height, outer.mesh,
                       addPanelChart(outer, p, false, 0.0f, p.height, side), 0.0f);
        // Inner faces by storey: the two top storeys are lightmapped, the lower ones tiled plaster.
        for (int k = 0; k < kStoreys; ++k) {
            const float v0 = vOf(floorY(k)),
                        v1 = k == kStoreys - 1 ? vOf(floorY(kStoreys)) : vOf(floorY(k + 1) - kSlabThickness);
            if (k >= 4) {
                AtlasMesh& inner = g.atlases[kAtlasInterior];
                emitPanelFaces(p, true, v0, v1, inner.mesh, addPanelChart(inner, p, true, v0, v1, kInnerWall),
                               0.0f);
            } else {
                emitPanelFaces(p, true, v0, v1, model.mesh("LowerWall", "OldPlaster"), -1, 3.0f);
            }
        }
        AtlasMesh& roof = g.atlases[kAtlasRoof];
        emitPanelFaces(p, true, vOf(floorY(kStoreys)), p.height, roof.mesh,
                       addPanelChart(roof, p, true, vOf(floorY(kStoreys)), p.height, kParapetInner), 0.0f);
        emitPanelEdges(p, PanelOutline{false, false, false, true}, model.mesh("Reveals", "BrokenConcrete"),
                       kConcreteTile);
    }

    for (int k = 0; k <= kStoreys; ++k) {
        const bool roof = k == kStoreys;
        const CellPanel p = slabPanel(floorY(k), roof);
        if (k == 5) {
            AtlasMesh& floor = g.atlases[kAtlasFloor5];
            emitPanelFaces(p, false, 0, p.height, floor.mesh,
                           addPanelChart(floor, p, false, 0, p.height, kFloorTop), 0);
        } else if (k == 4) {
            AtlasMesh& floor = g.atlases[kAtlasFloor4];
            emitPanelFaces(p, false, 0, p.height, floor.mesh,
                           addPanelChart(floor, p, false, 0, p.height, kFloorStorey4), 0);
        } else if (roof) {
            AtlasMesh& top = g.atlases[kAtlasRoof];
            emitPanelFaces(p, false, 0, p.height, top.mesh,
                           addPanelChart(top, p, false, 0, p.height, kRoofTop), 0);
        } else {
            emitPanelFaces(p, false, 0, p.height, model.mesh("Slabs", "BrokenConcrete"), -1, kConcreteTile);
        }
        if (k >= 5) {
            AtlasMesh& ceiling = g.atlases[kAtlasCeiling];
            emitPanelFaces(p, true, 0, p.height, ceiling.mesh,
                           addPanelChart(ceiling, p, true, 0, p.height, kCeiling), 0);
        } else if (k > 0) {
            emitPanelFaces(p, true, 0, p.height, model.mesh("Slabs", "BrokenConcrete"), -1, kConcreteTile);
        }
        emitPanelEdges(p, PanelOutline{}, model.mesh("Reveals", "BrokenConcrete"), kConcreteTile);
    }
}
