// Shared pieces of the terrain generator: the ground height, the grid it is sampled on, and the
// surfaces its painters tell apart.
#pragma once

#include "scene_layout.hpp"
#include "scene_parts.hpp"

#include <vector>

// Ground height in world units before the street is laid on it.
float groundHeight(float x, float z);

// The ground mesh's grid: denser near the street and the building, sparse towards the horizon.
struct GroundGrid {
    std::vector<float> xs, zs;
    std::vector<float> heights; // zs.size() rows of xs.size()
    float at(size_t ix, size_t iz) const { return heights[iz * xs.size() + ix]; }
    // Height of the triangulated mesh at (x, z), exactly as drawn.
    float meshHeight(float x, float z) const;
};
GroundGrid makeGroundGrid();

// Chart coordinates of the ground: each axis is stretched so the street area gets most texels.
struct GroundWarp {
    std::vector<float> world, warped; // monotone table
    float toWarped(float w) const;
    float toWorld(float s) const;
};
GroundWarp makeGroundWarp(float lo, float hi, float denseLo, float denseHi);

enum TerrainSurface { kGroundSurface, kRoadSurface, kWalkSurface };

constexpr float kTerrainMinX = -145.0f, kTerrainMaxX = 135.0f;
constexpr float kTerrainMinZ = -140.0f, kTerrainMaxZ = 140.0f;
constexpr float kDetailMinZ = -70.0f, kDetailMaxZ = 70.0f; // the lightmapped stretch of street

glm::vec3 paintTerrain(const SurfacePoint& p, const Chart& chart);
void buildTerrainProps(GeneratedModel& g, TextureLibrary& lib);
void buildRuins(GeneratedModel& g, TextureLibrary& lib);
