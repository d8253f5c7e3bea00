// The seamless, tiling material textures that several models share (concrete, rust, bark, asphalt...),
// each painted once per run with a matching one-channel specular map, and the materials naming them.
#pragma once

#include "image.hpp"
#include "mesh_data.hpp"

#include <set>
#include <string>

struct TexelSample {
    glm::vec3 color;
    float specular;
};

struct TextureLibrary {
    std::string assetsDir;
    std::set<std::string> written;
    bool ok = true;

    // A material whose unit-0 texture is textures/<texture>.jpg and unit-1 texture its specular map.
    Material material(const std::string& materialName, const std::string& texture);
    // Paints and writes one named texture (and its specular map) unless already written.
    void require(const std::string& texture);
};

// Paints a texture of the named kind at (u, v) in [0, 1); the patterns wrap at the edges.
TexelSample paintTiled(const std::string& texture, float u, float v);
// Every texture name the library knows, and its size in texels.
int tiledTextureSize(const std::string& texture);
