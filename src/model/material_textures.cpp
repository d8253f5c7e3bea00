// Material textures of a mesh, reused by path within one model, the baked lightmaps that meshes get by
// name, and decoding one image file into a mipmapped GL texture.
#include "model/model.hpp"

#include "model/texture_image.hpp"

#include <cstdio>

namespace {

const char* const planeLightmapPath = "Lightmaps/Lightmap.203.jpg";

// Meshes with names longer than this get a numbered lightmap, keyed by up to four characters of the
// name from position 8 (Building.042_Mesh -> ".042").
constexpr std::size_t numberedLightmapNameLength = 10;
constexpr std::size_t lightmapKeyStart = 8;
constexpr std::size_t lightmapKeyLength = 4;

Texture lightmapTexture(const std::string& path, const std::string& typeName) {
    Texture texture = textureFromFile(path, "");
    texture.type = typeName;
    texture.path = path;
    return texture;
}

} // namespace

std::vector<Texture> Model::loadMaterialTextures(const aiMaterial* material, aiTextureType type,
                                                 const std::string& typeName, int meshIndex,
                                                 const aiString& meshName) {
    const std::string name(meshName.data, meshName.length);
    std::vector<Texture> result;
    for (unsigned int i = 0; i < aiGetMaterialTextureCount(material, type); ++i) {
        aiString pathText;
        aiGetMaterialTexture(material, type, i, &pathText);
        const std::string path(pathText.data, pathText.length);
        bool reused = false;
        for (const Texture& loaded : texturesLoaded) {
            if (loaded.path == path) {
                result.push_back(loaded);
                reused = true;
                break;
            }
        }
        if (reused)
            continue;
        Texture texture = textureFromFile(path, name);
        texture.type = typeName;
        texture.path = path;
        result.push_back(texture);
        texturesLoaded.push_back(texture);
    }

    // Lightmaps ride along with the specular textures so that a mesh without a specular map gets its
    // lightmap as second texture, on unit 1. Each qualifying mesh reads its lightmap again.
    if (type == aiTextureType_SPECULAR) {
        if (name == "Plane") {
            std::printf("\n\n%s\n\n", name.c_str());
            std::fflush(stdout);
            const Texture texture = lightmapTexture(planeLightmapPath, typeName);
            result.push_back(texture);
            texturesLoaded.push_back(texture);
        }
        if (name.size() > numberedLightmapNameLength) {
            std::printf("%d\n", meshIndex);
            const std::string key = name.substr(lightmapKeyStart, lightmapKeyLength);
            std::printf("mesh Name number: %s\n", key.c_str());
            std::fflush(stdout);
            const Texture texture = lightmapTexture("Lightmaps/Lightmap" + key + ".jpg", typeName);
            result.push_back(texture);
            texturesLoaded.push_back(texture);
        }
    }
    return result;
}

Texture textureFromFile(const std::string& path, const std::string& meshName) {
    Texture texture;
    glGenTextures(1, &texture.id);
    const std::string fileName = meshName == "Zeus.obj" ? std::string("textures/newSkin.jpg") : path;

    // An image the context cannot hold is refused before it is decoded (see decodeImageFile).
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    DecodedImage image = decodeImageFile(fileName, maxTextureSize);
    if (image.pixels) {
        uploadMipmappedTexture(texture.id, image);
        // Every mipmap level of zeros is zeros: such a texture adds nothing wherever it is sampled.
        texture.black = imageAllZero(image);
    } else {
        std::printf("Texture failed to load at path: %s\n", path.c_str());
        std::fflush(stdout);
    }
    releaseImage(image);
    return texture;
}
