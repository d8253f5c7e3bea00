// Assembles big_Terrain.obj: the ground ("Plane", lightmapped), the street's road and sidewalks
// (lightmapped along the stretch the camera follows, tiled beyond), curbs, the retaining wall, and the
// props of terrain_props.cpp. Authored in world units and stored through the inverse of the scene's
// terrain placement T(-10,-4,0) S(5,8,5) R(180, Y).
#include "terrain_parts.hpp"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr float kSegment = 10.0f;
const float kRoadCentre = 0.5f * (kRoadWestX + kRoadEastX);

float roadCamber(float x) {
    const float half = 0.5f * (kRoadEastX - kRoadWestX);
    const float t = (x - kRoadCentre) / half;
    return 0.05f * (1.0f - t * t);
}

AtlasMesh makeAtlas(const char* name, const char* texture, int size, int scale) {
    AtlasMesh a;
    a.mesh.name = name;
    a.mesh.material = std::string("Ter_") + texture;
    a.lightmapSize = size;
    a.diffuseScale = scale;
    a.diffusePath = std::string("textures/terrain_") + texture + ".jpg";
    a.painter = paintTerrain;
    return a;
}

glm::vec3 gridNormal(const GroundGrid& grid, float x, float z) {
    const float e = 0.6f;
    const float hx = grid.meshHeight(x + e, z) - grid.meshHeight(x - e, z);
    const float hz = grid.meshHeight(x, z + e) - grid.meshHeight(x, z - e);
    return glm::normalize(glm::vec3(-hx, 2.0f * e, -hz));
}

AtlasMesh buildGround() {
    auto grid = std::make_shared<const GroundGrid>(makeGroundGrid());
    auto wx = std::make_shared<const GroundWarp>(makeGroundWarp(kTerrainMinX, kTerrainMaxX, -45.0f, 25.0f));
    auto wz = std::make_shared<const GroundWarp>(makeGroundWarp(kTerrainMinZ, kTerrainMaxZ, -60.0f, 50.0f));
    // The mesh named "Plane" takes Lightmaps/Lightmap.203.jpg.
    AtlasMesh a = makeAtlas("Plane", "ground", 512, 2);
    const int chart = a.addChart(
        wx->warped.back(), wz->warped.back(),
        [grid, wx, wz](float s, float t) {
            const float x = wx->toWorld(s), z = wz->toWorld(t);
            return SurfacePoint{{x, grid->meshHeight(x, z), z}, gridNormal(*grid, x, z), {s, t}};
        },
        kGroundSurface);
    const size_t nx = grid->xs.size(), nz = grid->zs.size();
    std::vector<uint32_t> ids(nx * nz);
    for (size_t iz = 0; iz < nz; ++iz)
        for (size_t ix = 0; ix < nx; ++ix) {
            const float x = grid->xs[ix], z = grid->zs[iz];
            ids[iz * nx + ix] = a.mesh.addVertex({x, grid->at(ix, iz), z}, gridNormal(*grid, x, z),
                                                 {wx->toWarped(x), wz->toWarped(z)}, chart);
        }
    for (size_t iz = 0; iz + 1 < nz; ++iz)
        for (size_t ix = 0; ix + 1 < nx; ++ix) {
            const uint32_t a00 = ids[iz * nx + ix], a10 = ids[iz * nx + ix + 1];
            const uint32_t a01 = ids[(iz + 1) * nx + ix], a11 = ids[(iz + 1) * nx + ix + 1];
            // Split along (0,0)-(1,1), as GroundGrid::meshHeight assumes; counter-clockwise from above.
            a.mesh.addTriangle(a00, a11, a10);
            a.mesh.addTriangle(a00, a01, a11);
        }
    return a;
}

// A strip of the street from x0 to x1 (height from `y`), cut into segments along z; segments inside the
// detailed stretch go to the lightmapped mesh, one chart each, the rest to the tiled one.
template <typename HeightFn>
void streetStrip(AtlasMesh& detailed, MeshData& far, float x0, float x1, int across, HeightFn y, float tile,
                 int material) {
    for (float z0 = kTerrainMinZ; z0 < kTerrainMaxZ - 0.01f; z0 += kSegment) {
        const float z1 = std::min(z0 + kSegment, kTerrainMaxZ);
        const bool lit = z0 >= kDetailMinZ && z1 <= kDetailMaxZ;
        int chart = -1;
        if (lit)
            chart = detailed.addChart(
                x1 - x0, z1 - z0,
                [x0, z0, y](float s, float t) {
                    return SurfacePoint{{x0 + s, y(x0 + s), z0 + t}, {0, 1, 0}, {s, t}};
                },
                material);
        MeshData& m = lit ? detailed.mesh : far;
        for (int i = 0; i < across; ++i) {
            const float xa = x0 + (x1 - x0) * float(i) / float(across),
                        xb = x0 + (x1 - x0) * float(i + 1) / float(across);
            const glm::vec3 p[4] = {{xa, y(xa), z0}, {xa, y(xa), z1}, {xb, y(xb), z1}, {xb, y(xb), z0}};
            glm::vec2 uv[4];
            for (int k = 0; k < 4; ++k)
                uv[k] = lit ? glm::vec2(p[k].x - x0, p[k].z - z0) : glm::vec2(p[k].x / tile, p[k].z / tile);
            const glm::vec3 n = glm::normalize(glm::cross(p[1] - p[0], p[3] - p[0]));
            m.addQuad(p, n, uv, lit ? chart : -1);
        }
    }
}

// A vertical face along z at x, from yLo to yHi, facing +x or -x.
void sideFace(MeshData& m, float x, float yLo, float yHi, bool facePlusX, float tile) {
    for (float z0 = kTerrainMinZ; z0 < kTerrainMaxZ - 0.01f; z0 += kSegment) {
        const float z1 = std::min(z0 + kSegment, kTerrainMaxZ);
        glm::vec3 p[4] = {{x, yLo, z0}, {x, yLo, z1}, {x, yHi, z1}, {x, yHi, z0}};
        glm::vec2 uv[4] = {{z0 / tile, -yLo / tile},
                           {z1 / tile, -yLo / tile},
                           {z1 / tile, -yHi / tile},
                           {z0 / tile, -yHi / tile}};
        const glm::vec3 n(facePlusX ? 1.0f : -1.0f, 0.0f, 0.0f);
        if (glm::dot(glm::cross(p[1] - p[0], p[2] - p[0]), n) < 0.0f) {
            std::swap(p[1], p[3]);
            std::swap(uv[1], uv[3]);
        }
        m.addQuad(p, n, uv);
    }
}

} // namespace

GeneratedModel buildTerrain(TextureLibrary& lib) {
    GeneratedModel g;
    g.model.fileStem = "big_Terrain";
    g.model.authoredToModel = glm::inverse(terrainMatrix());
    g.model.materials.push_back(lib.material("Asphalt", "asphalt"));
    g.model.materials.push_back(lib.material("Pavers", "pavers"));
    g.model.materials.push_back(lib.material("Concrete", "concrete_raw"));

    g.atlases.push_back(buildGround());
    g.atlases.push_back(makeAtlas("Landform.201_Road", "road", 512, 2));
    g.atlases.push_back(makeAtlas("Landform.202_Walks", "walks", 512, 2));
    AtlasMesh& road = g.atlases[1];
    AtlasMesh& walks = g.atlases[2];
    MeshData& roadFar = g.model.mesh("RoadFar", "Asphalt");
    MeshData& walksFar = g.model.mesh("WalksFar", "Pavers");
    MeshData& curbs = g.model.mesh("Curbs", "Concrete");
    MeshData& wall = g.model.mesh("Retaining", "Concrete");

    streetStrip(
        road, roadFar, kRoadWestX, kRoadEastX, 4, [](float x) { return kRoadY + roadCamber(x); }, 6.0f,
        kRoadSurface);
    streetStrip(
        walks, walksFar, kWestWalkX, kRoadWestX, 1, [](float) { return kWalkY; }, 2.0f, kWalkSurface);
    streetStrip(
        walks, walksFar, kRoadEastX, kEastWalkX, 1, [](float) { return kWalkY; }, 2.0f, kWalkSurface);
    // Curb faces down to the road, and the sidewalk's outer edge down into the ground.
    sideFace(curbs, kRoadWestX, kRoadY - 0.05f, kWalkY, true, 1.0f);
    sideFace(curbs, kRoadEastX, kRoadY - 0.05f, kWalkY, false, 1.0f);
    sideFace(curbs, kEastWalkX, kWalkY - 0.4f, kWalkY, true, 1.0f);
    // The retaining wall holding the street above the field to the west, with a low kerb on top.
    const float wallWest = -29.35f, wallTop = kWalkY + 0.15f;
    sideFace(wall, wallWest, kLowLandY - 1.2f, wallTop, false, 2.0f);
    sideFace(wall, kWestWalkX, kWalkY - 0.05f, wallTop, true, 2.0f);
    streetStrip(
        walks, wall, wallWest, kWestWalkX, 1, [wallTop](float) { return wallTop; }, 2.0f, kWalkSurface);
    buildTerrainProps(g, lib);
    buildRuins(g, lib);
    return g;
}
