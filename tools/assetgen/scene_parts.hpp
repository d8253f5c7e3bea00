// The model families of the scene. Each builder returns its meshes: tiled-texture meshes (names of at
// most 10 characters, no lightmap) in `model`, and lightmapped meshes with their charts in `atlases`.
#pragma once

#include "atlas.hpp"
#include "mesh_data.hpp"
#include "texture_library.hpp"

#include <vector>

struct GeneratedModel {
    ModelData model;
    std::vector<AtlasMesh> atlases;
};

GeneratedModel buildBuilding(TextureLibrary& library);
GeneratedModel buildTerrain(TextureLibrary& library);
GeneratedModel buildCar(TextureLibrary& library);
// variant 0: DeadTree1 (built for a scale of 0.015), variant 1: DeadTree21 (for 0.01).
GeneratedModel buildTree(TextureLibrary& library, int variant);
GeneratedModel buildWindowModel(TextureLibrary& library);
GeneratedModel buildMirror(TextureLibrary& library);
// The sky dome paints its own textures (sky and moon) and writes them below assetsDir.
GeneratedModel buildSky(const std::string& assetsDir, bool& ok);
