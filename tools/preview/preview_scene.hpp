// The preview's copy of the scene: every static model imported the way the viewer imports it (same
// Assimp flags, textures and lightmaps opened by the same rules), placed with the scene's model
// matrices, and put into an Embree scene that ignores back faces, as the viewer culls them.
#pragma once

#include <embree3/rtcore.h>
#include <glm/glm.hpp>

#include <memory>
#include <string>
#include <vector>

struct PreviewTexture {
    int width = 0, height = 0, channels = 0;
    std::vector<unsigned char> pixels;
    // Bilinear, repeating, in the viewer's texture coordinates (t = 0 is the image's first row).
    glm::vec3 sample(const glm::vec2& uv) const;
};

struct PreviewMesh {
    std::string name;
    std::vector<glm::vec3> positions, normals; // world space
    std::vector<glm::vec2> uvs;
    std::vector<unsigned> indices;
    const PreviewTexture* unit0 = nullptr; // what the viewer binds to texture unit 0
    const PreviewTexture* unit1 = nullptr; // and to unit 1 (specular map or lightmap)
    bool lightmapped = false;
    bool sky = false;
};

struct PreviewScene {
    RTCDevice device = nullptr;
    RTCScene scene = nullptr;
    std::vector<std::unique_ptr<PreviewMesh>> meshes; // indexed by Embree geometry id
    std::vector<std::unique_ptr<PreviewTexture>> textures;
    std::vector<std::string> problems; // missing textures, failed imports

    PreviewScene();
    ~PreviewScene();
    PreviewScene(const PreviewScene&) = delete;
    PreviewScene& operator=(const PreviewScene&) = delete;
};

// Loads every placed model from the assets folder (the working directory is changed to it while
// loading, as the viewer runs from there).
void loadPreviewScene(PreviewScene& scene, const std::string& assetsDir);
