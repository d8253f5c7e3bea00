// Importing one scene file through Assimp into GPU meshes, with the load report on standard output
// that lists every mesh, bone, texture failure and lightmap choice.
#include "model/model.hpp"

#include "model/assimp_convert.hpp"

#include <assimp/postprocess.h>

#include <cstdio>
#include <utility>

namespace {

// Triangulate | GenSmoothNormals | FlipUVs | CalcTangentSpace, and nothing else: in particular no
// vertex joining, so the file's vertex order and counts reach the meshes and the bone weights unchanged.
constexpr unsigned int importFlags =
    aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_FlipUVs | aiProcess_CalcTangentSpace;
static_assert(importFlags == 0x800049, "the import flags are fixed");

glm::vec3 toVec3(const aiVector3D& v) {
    return glm::vec3(v.x, v.y, v.z);
}

} // namespace

Model::Model(const std::string& path) {
    load(path);
}

void Model::draw() const {
    for (const Mesh& mesh : meshes)
        mesh.draw();
}

void releaseImport(Model& model) {
    for (Mesh& mesh : model.meshes) {
        std::vector<Vertex>().swap(mesh.vertices);
        std::vector<unsigned int>().swap(mesh.indices);
        std::vector<VertexBoneData>().swap(mesh.boneData);
    }
    std::vector<VertexBoneData>().swap(model.vertexBoneData);
    model.importer.FreeScene();
    model.scene = nullptr;
}

void Model::load(const std::string& path) {
    std::printf("new Model-----------");
    std::fflush(stdout);
    scene = importer.ReadFile(path, importFlags);
    if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode) {
        std::printf("ERROR::ASSIMP:: %s\n", importer.GetErrorString());
        std::fflush(stdout);
        return;
    }
    globalInverseTransform = glm::inverse(toGlm(scene->mRootNode->mTransformation));
    initFromScene(scene);
}

void Model::initFromScene(const aiScene* importedScene) {
    std::printf("Parsing %d meshes\n\n", static_cast<int>(importedScene->mNumMeshes));
    meshBaseVertex.resize(importedScene->mNumMeshes);
    unsigned int totalVertices = 0;
    unsigned int totalIndices = 0;
    unsigned int totalBones = 0;
    for (unsigned int i = 0; i < importedScene->mNumMeshes; ++i) {
        const aiMesh* mesh = importedScene->mMeshes[i];
        const unsigned int vertexCount = mesh->mNumVertices;
        const unsigned int indexCount = 3 * mesh->mNumFaces;
        const unsigned int boneCount = mesh->mNumBones;
        meshBaseVertex[i] = totalVertices;
        std::printf(" Mesh %d '%s': vertices %d indices %d bones %d\n\n", static_cast<int>(i),
                    mesh->mName.C_Str(), static_cast<int>(vertexCount), static_cast<int>(indexCount),
                    static_cast<int>(boneCount));
        std::fflush(stdout);
        totalVertices += vertexCount;
        totalIndices += indexCount;
        totalBones += boneCount;
        vertexBoneData.resize(totalVertices);
        if (mesh->mBones && mesh->mNumBones > 0) {
            for (unsigned int b = 0; b < mesh->mNumBones; ++b)
                loadBone(static_cast<int>(i), mesh->mBones[b]);
        }
        meshes.push_back(processMesh(mesh, importedScene, static_cast<int>(i)));
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("\nTotal vertices %d total indices %d total bones %d\n", static_cast<int>(totalVertices),
                static_cast<int>(totalIndices), static_cast<int>(totalBones));
    std::fflush(stdout);
}

Mesh Model::processMesh(const aiMesh* mesh, const aiScene* importedScene, int meshIndex) {
    std::printf("%s", mesh->mName.C_Str());
    std::fflush(stdout);

    // Fields the file does not provide stay zero (Vertex's defaults) rather than reading absent arrays:
    // tangents are missing for meshes the tangent-space step cannot handle, such as point or line meshes.
    const bool hasNormals = mesh->HasNormals();
    const bool hasTexCoords = mesh->mTextureCoords[0] != nullptr;
    std::vector<Vertex> vertices(mesh->mNumVertices);
    for (unsigned int v = 0; v < mesh->mNumVertices; ++v) {
        Vertex& vertex = vertices[v];
        vertex.position = toVec3(mesh->mVertices[v]);
        if (hasNormals)
            vertex.normal = toVec3(mesh->mNormals[v]);
        if (hasTexCoords) {
            vertex.texCoords = glm::vec2(mesh->mTextureCoords[0][v].x, mesh->mTextureCoords[0][v].y);
            if (mesh->mTangents)
                vertex.tangent = toVec3(mesh->mTangents[v]);
            if (mesh->mBitangents)
                vertex.bitangent = toVec3(mesh->mBitangents[v]);
        }
    }

    std::vector<unsigned int> indices;
    indices.reserve(3 * static_cast<std::size_t>(mesh->mNumFaces));
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        indices.insert(indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
    }

    std::vector<Texture> textures;
    if (mesh->mMaterialIndex < importedScene->mNumMaterials) {
        const aiMaterial* material = importedScene->mMaterials[mesh->mMaterialIndex];
        const std::pair<aiTextureType, const char*> kinds[] = {
            {aiTextureType_DIFFUSE, "texture_diffuse"},
            {aiTextureType_SPECULAR, "texture_specular"},
            {aiTextureType_HEIGHT, "texture_normal"},
            {aiTextureType_AMBIENT, "texture_height"},
        };
        for (const auto& [type, typeName] : kinds) {
            std::vector<Texture> found =
                loadMaterialTextures(material, type, typeName, meshIndex, mesh->mName);
            textures.insert(textures.end(), found.begin(), found.end());
        }
    }

    // The mesh's slice of the model-wide skinning array; records the array does not cover stay zero.
    std::vector<VertexBoneData> boneData(mesh->mNumVertices);
    const std::size_t base = static_cast<std::size_t>(meshIndex) < meshBaseVertex.size()
                                 ? meshBaseVertex[static_cast<std::size_t>(meshIndex)]
                                 : vertexBoneData.size();
    for (std::size_t v = 0; v < boneData.size() && base + v < vertexBoneData.size(); ++v)
        boneData[v] = vertexBoneData[base + v];

    return Mesh(std::move(vertices), std::move(indices), std::move(textures), std::move(boneData));
}
