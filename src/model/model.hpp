// One imported scene file (OBJ models, the FBX character): its GPU meshes, the textures it created,
// the importer that keeps the scene readable for animation, and its bone tables.
#pragma once

#include "model/mesh.hpp"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include <map>
#include <string>
#include <vector>

struct BoneInfo {
    glm::mat4 offsetMatrix{1.0f};
    glm::mat4 finalTransform{0.0f};
};

struct Model {
    std::vector<Texture> texturesLoaded;
    std::vector<Mesh> meshes;
    const aiScene* scene = nullptr;
    Assimp::Importer importer;
    glm::mat4 globalInverseTransform{1.0f};
    std::vector<VertexBoneData> vertexBoneData;
    std::vector<unsigned int> meshBaseVertex;
    std::map<std::string, unsigned int> boneNameToIndex;
    std::vector<BoneInfo> boneInfo;

    // Imports the file and builds everything at once; never fails outward (a failed import leaves no
    // meshes). Needs a current GL context.
    explicit Model(const std::string& path);
    // An empty model without a scene, whose tables are filled by hand (tests and tools).
    Model() = default;
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    void draw() const;

    void load(const std::string& path);
    void initFromScene(const aiScene* importedScene);
    Mesh processMesh(const aiMesh* mesh, const aiScene* importedScene, int meshIndex);
    std::vector<Texture> loadMaterialTextures(const aiMaterial* material, aiTextureType type,
                                              const std::string& typeName, int meshIndex,
                                              const aiString& meshName);

    // Bone tables (filled while importing).
    unsigned int findOrAddBone(const aiBone* bone);
    void loadBone(int meshIndex, const aiBone* bone);
};

// For a model that is only ever drawn whole, never animated or posed on the CPU: frees the importer's
// scene and the CPU copies of the vertex, index and bone arrays, which the GL buffers already hold.
// Textures, bounds and the GL objects stay, so the model draws and culls as before.
void releaseImport(Model& model);

void addWeight(VertexBoneData& record, unsigned int boneIndex, float weight);

// Decodes one image into a new GL texture with mipmaps; a missing or undecodable file prints
// "Texture failed to load at path: " and leaves the texture without an image. A decoded image stays
// bound to GL_TEXTURE_2D on the active unit.
Texture textureFromFile(const std::string& path, const std::string& meshName);
