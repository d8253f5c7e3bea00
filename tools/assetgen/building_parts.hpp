// Shared pieces of the building generator: storey levels, the lightmapped meshes it fills, and the
// keep-out zones around the camera route and the character's walk, which no debris may enter.
#pragma once

#include "scene_layout.hpp"
#include "scene_parts.hpp"

// Floor top of storey k (0 = ground floor, 6 = roof).
inline float floorY(int k) {
    return kGroundFloorY + kStoreyHeight * float(k);
}
constexpr float kParapetHeight = 0.9f;
constexpr float kWallBaseY = -2.2f;

// Surfaces of the lightmapped building meshes, as the painter tells them apart.
enum BuildingSurface {
    kFacadeSouth,
    kFacadeNorth,
    kFacadeEast,
    kFacadeWest,
    kFloorTop,
    kFloorStorey4,
    kCeiling,
    kRoofTop,
    kParapetInner,
    kInnerWall,
    kColumnFace,
    kBeamFace,
    kPartitionFace,
};

// Indices into GeneratedModel::atlases.
enum BuildingAtlas {
    kAtlasSouth,
    kAtlasNorth,
    kAtlasEast,
    kAtlasWest,
    kAtlasFloor5,
    kAtlasFloor4,
    kAtlasRoof,
    kAtlasCeiling,
    kAtlasInterior,
    kBuildingAtlasCount
};

// Where the roof has fallen in over the top storey (world x/z), and the blast hole in the south wall.
constexpr float kCollapseMaxX = -7.4f, kCollapseMaxZ = 2.6f;

// Distance from a world point to the camera's path through the building (route rows 0 to 6) and to
// the character's walk on the top floor; debris keeps clear of both.
float distanceToFlightPath(const glm::vec3& p);
bool clearOfWalkLine(const glm::vec3& p, float margin);

// One opening of a facade in world units: its lower outer corner, the wall's direction along it and
// its outward normal, its size, storey and kind.
struct FacadeOpening {
    glm::vec3 corner;
    glm::vec3 along;
    glm::vec3 outward;
    float width, height;
    int storey;
    int side;
    enum Kind { kWindow, kShopFront, kDoor } kind;
};
std::vector<FacadeOpening> facadeOpenings();

// Builders, each adding to the shared model.
void buildShell(GeneratedModel& g, TextureLibrary& lib);
void buildInterior(GeneratedModel& g);
void buildDebris(GeneratedModel& g, TextureLibrary& lib);
void buildRooftop(GeneratedModel& g, TextureLibrary& lib);
void buildWindows(GeneratedModel& g, TextureLibrary& lib);
// Albedo of the lightmapped building surfaces.
glm::vec3 paintBuilding(const SurfacePoint& p, const Chart& chart);
