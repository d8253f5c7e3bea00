// Bone tables of a model: dense bone indices in order of first appearance, one offset matrix per bone,
// and up to eight influences per vertex in the model-wide skinning array.
#include "model/model.hpp"

#include "model/assimp_convert.hpp"

#include <cstdio>

unsigned int Model::findOrAddBone(const aiBone* bone) {
    const std::string name(bone->mName.data, bone->mName.length);
    const auto found = boneNameToIndex.find(name);
    if (found != boneNameToIndex.end())
        return found->second;
    const auto index = static_cast<unsigned int>(boneNameToIndex.size());
    boneNameToIndex.emplace(name, index);
    return index;
}

void Model::loadBone(int meshIndex, const aiBone* bone) {
    const unsigned int boneIndex = findOrAddBone(bone);
    std::printf("      Bone %d: '%s' num vertices affected by this bone: %d\n", static_cast<int>(boneIndex),
                bone->mName.C_Str(), static_cast<int>(bone->mNumWeights));
    std::fflush(stdout);
    if (boneIndex == boneInfo.size()) {
        BoneInfo info;
        info.offsetMatrix = toGlm(bone->mOffsetMatrix);
        info.finalTransform = glm::mat4(0.0f);
        boneInfo.push_back(info);
    }

    if (meshIndex < 0 || static_cast<std::size_t>(meshIndex) >= meshBaseVertex.size())
        return;
    // The skinning array ends with this mesh's records while its bones load, so a vertex id that reaches
    // past the array's end lies outside the mesh; its influence is skipped instead of written elsewhere.
    const std::size_t base = meshBaseVertex[static_cast<std::size_t>(meshIndex)];
    for (unsigned int w = 0; w < bone->mNumWeights; ++w) {
        const aiVertexWeight& weight = bone->mWeights[w];
        const std::size_t record = base + weight.mVertexId;
        if (record >= vertexBoneData.size())
            continue;
        addWeight(vertexBoneData[record], boneIndex, weight.mWeight);
    }
}

void addWeight(VertexBoneData& record, unsigned int boneIndex, float weight) {
    for (int slot = 0; slot < 8; ++slot) {
        if (record.weights[slot] == 0.0f) {
            record.boneIds[slot] = static_cast<int>(boneIndex);
            record.weights[slot] = weight;
            return;
        }
    }
}
