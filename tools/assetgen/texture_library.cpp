// Writing tiled textures and the shared "no baked light" map; the painters themselves live in
// tiled_painters.cpp.
#include "texture_library.hpp"

const char* const kNoLightMap = "textures/no_light.jpg";

bool writeNoLightMap(const std::string& assetsDir) {
    // Black compresses to exact zeros in every channel; 8 x 8 is one JPEG block.
    return writeJpeg(assetsDir, kNoLightMap, Image(8, 8, glm::vec3(0.0f)));
}

Material TextureLibrary::material(const std::string& materialName, const std::string& texture) {
    require(texture);
    Material m;
    m.name = materialName;
    m.diffuseMap = "textures/" + texture + ".jpg";
    m.specularMap = kNoLightMap;
    return m;
}

void TextureLibrary::require(const std::string& texture) {
    if (!written.insert(texture).second)
        return;
    const int size = tiledTextureSize(texture);
    Image color(size, size);
    parallelRows(size, [&](int y) {
        for (int x = 0; x < size; ++x)
            color.at(x, y) =
                paintTiled(texture, (float(x) + 0.5f) / float(size), (float(y) + 0.5f) / float(size)).color;
    });
    ok = writeJpeg(assetsDir, "textures/" + texture + ".jpg", color) && ok;
}
