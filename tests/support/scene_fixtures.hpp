// Small Assimp objects built in memory for the bone, animation and character tests: bones with
// weights, animations without keys and scenes that own them.
#pragma once

#include <assimp/anim.h>
#include <assimp/mesh.h>
#include <assimp/scene.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fixtures {

inline aiMatrix4x4 translation(float x, float y, float z) {
    aiMatrix4x4 m;
    aiMatrix4x4::Translation(aiVector3D(x, y, z), m);
    return m;
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

inline aiAnimation* animation(double duration, double ticksPerSecond) {
    aiAnimation* result = new aiAnimation();
    result->mDuration = duration;
    result->mTicksPerSecond = ticksPerSecond;
    return result;
}

// A scene of one root node, one empty material and one animation; the scene owns them.
inline std::unique_ptr<aiScene> scene(aiAnimation* animation) {
    auto result = std::make_unique<aiScene>();
    result->mRootNode = new aiNode("root");
    result->mNumMaterials = 1;
    result->mMaterials = new aiMaterial*[1];
    result->mMaterials[0] = new aiMaterial();
    result->mNumAnimations = 1;
    result->mAnimations = new aiAnimation* [1] { animation };
    return result;
}

} // namespace fixtures
