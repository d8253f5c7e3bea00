// Writing tiled textures and their specular maps; the painters themselves live in tiled_painters.cpp.
#include "texture_library.hpp"

#include <algorithm>

Material TextureLibrary::material(const std::string& materialName, const std::string& texture) {
    require(texture);
    Material m;
    m.name = materialName;
    m.diffuseMap = "textures/" + texture + ".jpg";
    m.specularMap = "textures/" + texture + "_spec.jpg";
    return m;
}

void TextureLibrary::require(const std::string& texture) {
    if (!written.insert(texture).second)
        return;
    const int size = tiledTextureSize(texture);
    const int specSize = std::max(128, size / 2);
    Image color(size, size), spec(specSize, specSize);
    parallelRows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            const TexelSample s =
                paintTiled(texture, (float(x) + 0.5f) / float(size), (float(y) + 0.5f) / float(size));
            color.at(x, y) = s.color;
            if (x % (size / specSize) == 0 && y % (size / specSize) == 0)
                spec.at(x / (size / specSize), y / (size / specSize)) = glm::vec3(s.specular);
        }
    });
    ok = writeJpeg(assetsDir, "textures/" + texture + ".jpg", color) && ok;
    ok = writeJpeg(assetsDir, "textures/" + texture + "_spec.jpg", spec, true) && ok;
}
