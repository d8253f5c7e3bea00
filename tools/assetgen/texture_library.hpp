// The seamless, tiling material textures that several models share (concrete, rust, bark, asphalt...),
// each painted once per run, and the materials naming them with the shared "no baked light" map.
#pragma once

#include "image.hpp"
#include "mesh_data.hpp"

#include <set>
#include <string>

struct TexelSample {
    glm::vec3 color;
};

// The viewer adds a mesh's second texture (unit 1) to its surface as baked light: lightmapped meshes
// get their lightmap there, every other material names this black RGB image as its map_Ks, so it adds
// nothing (a one-channel image would sample as red, and a grey one would glow).
extern const char* const kNoLightMap;
// Writes kNoLightMap; false when it could not be written.
bool writeNoLightMap(const std::string& assetsDir);

struct TextureLibrary {
    std::string assetsDir;
    std::set<std::string> written;
    bool ok = true;

    // A material whose unit-0 texture is textures/<texture>.jpg and unit-1 texture kNoLightMap.
    Material material(const std::string& materialName, const std::string& texture);
    // Paints and writes one named texture unless already written.
    void require(const std::string& texture);
};

// Paints a texture of the named kind at (u, v) in [0, 1); the patterns wrap at the edges.
TexelSample paintTiled(const std::string& texture, float u, float v);
// Every texture name the library knows, and its size in texels.
int tiledTextureSize(const std::string& texture);
