// Test helpers for the generated scene models: importing them with the viewer's Assimp flags, the
// viewer's rule for which lightmap a mesh takes, and ray casts against placed geometry.
#pragma once

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scene_assets {

inline std::string assetsDir() {
    return std::string(DUSKVALE_BUILD_DIR) + "/assets";
}

const std::vector<std::string> kModelFiles = {"Post_Apocalyptic_Building",
                                              "background",
                                              "car",
                                              "DeadTree1",
                                              "DeadTree21",
                                              "window",
                                              "big_Terrain",
                                              "mirror"};

// Imports models/<stem>.obj from an assets folder exactly as the viewer does.
struct ImportedModel {
    std::unique_ptr<Assimp::Importer> importer = std::make_unique<Assimp::Importer>();
    const aiScene* scene = nullptr;
};

inline ImportedModel importModel(const std::string& dir, const std::string& stem) {
    ImportedModel m;
    m.scene = m.importer->ReadFile(dir + "/models/" + stem + ".obj",
                                   aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_FlipUVs |
                                       aiProcess_CalcTangentSpace);
    return m;
}

// The lightmap the viewer loads for a mesh name, if any.
inline std::optional<std::string> lightmapFor(const std::string& meshName) {
    if (meshName == "Plane")
        return std::string("Lightmaps/Lightmap.203.jpg");
    if (meshName.size() > 10)
        return "Lightmaps/Lightmap" + meshName.substr(8, 4) + ".jpg";
    return std::nullopt;
}

inline std::vector<std::string> texturePaths(const aiMaterial* m, aiTextureType type) {
    std::vector<std::string> out;
    for (unsigned i = 0; i < aiGetMaterialTextureCount(m, type); ++i) {
        aiString p;
        aiGetMaterialTexture(m, type, i, &p);
        out.push_back(p.C_Str());
    }
    return out;
}

// Every triangle of a model, placed in the world.
struct Triangles {
    std::vector<glm::vec3> corners; // three per triangle
};

inline Triangles placedTriangles(const aiScene* scene, const glm::mat4& model) {
    Triangles t;
    for (unsigned mi = 0; mi < scene->mNumMeshes; ++mi) {
        const aiMesh* m = scene->mMeshes[mi];
        for (unsigned f = 0; f < m->mNumFaces; ++f) {
            if (m->mFaces[f].mNumIndices != 3)
                continue;
            for (int k = 0; k < 3; ++k) {
                const aiVector3D& p = m->mVertices[m->mFaces[f].mIndices[k]];
                t.corners.push_back(glm::vec3(model * glm::vec4(p.x, p.y, p.z, 1.0f)));
            }
        }
    }
    return t;
}

// Distance along the ray to the nearest triangle (either side), or a negative value.
inline float castRay(const Triangles& t, const glm::vec3& o, const glm::vec3& d, float tmax = 1e9f) {
    float best = -1.0f;
    for (size_t i = 0; i + 2 < t.corners.size(); i += 3) {
        const glm::vec3 e1 = t.corners[i + 1] - t.corners[i], e2 = t.corners[i + 2] - t.corners[i];
        const glm::vec3 p = glm::cross(d, e2);
        const float det = glm::dot(e1, p);
        if (std::abs(det) < 1e-12f)
            continue;
        const glm::vec3 s = o - t.corners[i];
        const float u = glm::dot(s, p) / det;
        if (u < 0.0f || u > 1.0f)
            continue;
        const glm::vec3 q = glm::cross(s, e1);
        const float v = glm::dot(d, q) / det;
        if (v < 0.0f || u + v > 1.0f)
            continue;
        const float dist = glm::dot(e2, q) / det;
        if (dist > 1e-5f && dist < tmax && (best < 0.0f || dist < best))
            best = dist;
    }
    return best;
}

} // namespace scene_assets
