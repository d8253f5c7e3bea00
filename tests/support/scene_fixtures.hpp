// Small Assimp scenes built in memory for the bone and animation tests: nodes, bones with weights,
// meshes with a given vertex count and animations with hand-picked keys. The scene owns everything.
#pragma once

#include <assimp/anim.h>
#include <assimp/mesh.h>
#include <assimp/scene.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fixtures {

// Hands the items to a newly allocated Assimp array, which its owner deletes; nothing when empty.
template <typename T> void adopt(const std::vector<T*>& items, T**& array, unsigned int& count) {
    count = static_cast<unsigned int>(items.size());
    if (items.empty())
        return;
    array = new T*[items.size()];
    std::copy(items.begin(), items.end(), array);
}

inline aiMatrix4x4 translation(float x, float y, float z) {
    aiMatrix4x4 m;
    aiMatrix4x4::Translation(aiVector3D(x, y, z), m);
    return m;
}

inline aiMatrix4x4 scaling(float s) {
    aiMatrix4x4 m;
    aiMatrix4x4::Scaling(aiVector3D(s, s, s), m);
    return m;
}

inline aiNode* node(const std::string& name, const aiMatrix4x4& transform = aiMatrix4x4(),
                    const std::vector<aiNode*>& children = {}) {
    aiNode* result = new aiNode(name);
    result->mTransformation = transform;
    adopt(children, result->mChildren, result->mNumChildren);
    for (aiNode* child : children)
        child->mParent = result;
    return result;
}

inline aiBone* bone(const std::string& name, const std::vector<std::pair<unsigned int, float>>& weights,
                    const aiMatrix4x4& offset = aiMatrix4x4()) {
    aiBone* result = new aiBone();
    result->mName = aiString(name);
    result->mOffsetMatrix = offset;
    result->mNumWeights = static_cast<unsigned int>(weights.size());
    result->mWeights = new aiVertexWeight[weights.size() ? weights.size() : 1];
    for (std::size_t i = 0; i < weights.size(); ++i)
        result->mWeights[i] = aiVertexWeight(weights[i].first, weights[i].second);
    return result;
}

// A triangle list over `vertexCount` vertices placed along x (the last face may reuse vertex 0).
inline aiMesh* mesh(const std::string& name, unsigned int vertexCount,
                    const std::vector<aiBone*>& bones = {}) {
    aiMesh* result = new aiMesh();
    result->mName = aiString(name);
    result->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    result->mNumVertices = vertexCount;
    result->mVertices = new aiVector3D[vertexCount];
    result->mNormals = new aiVector3D[vertexCount];
    for (unsigned int v = 0; v < vertexCount; ++v) {
        result->mVertices[v] = aiVector3D(static_cast<float>(v), static_cast<float>(v % 3), 0.0f);
        result->mNormals[v] = aiVector3D(0.0f, 0.0f, 1.0f);
    }
    const unsigned int faceCount = (vertexCount + 2) / 3;
    result->mNumFaces = faceCount;
    result->mFaces = new aiFace[faceCount];
    for (unsigned int f = 0; f < faceCount; ++f) {
        aiFace& face = result->mFaces[f];
        face.mNumIndices = 3;
        face.mIndices = new unsigned int[3];
        for (unsigned int k = 0; k < 3; ++k)
            face.mIndices[k] = (3 * f + k) % vertexCount;
    }
    adopt(bones, result->mBones, result->mNumBones);
    return result;
}

struct Keys {
    std::vector<std::pair<double, aiVector3D>> positions;
    std::vector<std::pair<double, aiQuaternion>> rotations;
    std::vector<std::pair<double, aiVector3D>> scalings;
};

// Copies (time, value) pairs into a newly allocated Assimp key array.
template <typename Key, typename Value>
void copyKeys(const std::vector<std::pair<double, Value>>& from, Key*& keys, unsigned int& count) {
    count = static_cast<unsigned int>(from.size());
    if (from.empty())
        return;
    keys = new Key[from.size()];
    for (std::size_t i = 0; i < from.size(); ++i)
        keys[i] = Key(from[i].first, from[i].second);
}

inline aiNodeAnim* channel(const std::string& nodeName, const Keys& keys) {
    aiNodeAnim* result = new aiNodeAnim();
    result->mNodeName = aiString(nodeName);
    copyKeys(keys.positions, result->mPositionKeys, result->mNumPositionKeys);
    copyKeys(keys.rotations, result->mRotationKeys, result->mNumRotationKeys);
    copyKeys(keys.scalings, result->mScalingKeys, result->mNumScalingKeys);
    return result;
}

inline aiAnimation* animation(double duration, double ticksPerSecond,
                              const std::vector<aiNodeAnim*>& channels) {
    aiAnimation* result = new aiAnimation();
    result->mDuration = duration;
    result->mTicksPerSecond = ticksPerSecond;
    adopt(channels, result->mChannels, result->mNumChannels);
    return result;
}

// A scene with the given root, meshes (all using one empty material) and animations.
inline std::unique_ptr<aiScene> scene(aiNode* root, const std::vector<aiMesh*>& meshes = {},
                                      const std::vector<aiAnimation*>& animations = {}) {
    auto result = std::make_unique<aiScene>();
    result->mRootNode = root;
    result->mNumMaterials = 1;
    result->mMaterials = new aiMaterial*[1];
    result->mMaterials[0] = new aiMaterial();
    adopt(meshes, result->mMeshes, result->mNumMeshes);
    adopt(animations, result->mAnimations, result->mNumAnimations);
    return result;
}

} // namespace fixtures
