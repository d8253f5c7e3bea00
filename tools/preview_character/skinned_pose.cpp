// Follows the viewer's evaluation rules step by step so the preview shows what the viewer will show.
#include "skinned_pose.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include <cmath>
#include <functional>

namespace {

glm::mat4 toGlm(const aiMatrix4x4& m) {
    glm::mat4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            r[col][row] = m[row][col];
    return r;
}

template <typename Key> unsigned keyPair(const Key* keys, unsigned count, float ticks) {
    for (unsigned i = 0; i + 1 < count; ++i)
        if (ticks < float(keys[i + 1].mTime))
            return i;
    return count - 2; // at or past the last key: hold the end of the last pair
}

template <typename Key> float blendFactor(const Key* keys, unsigned i, float ticks) {
    const float f = (ticks - float(keys[i].mTime)) / float(keys[i + 1].mTime - keys[i].mTime);
    return std::fmin(std::fmax(f, 0.0f), 1.0f);
}

aiVector3D interpolate(const aiVectorKey* keys, unsigned count, float ticks) {
    if (count == 1)
        return keys[0].mValue;
    const unsigned i = keyPair(keys, count, ticks);
    const float f = blendFactor(keys, i, ticks);
    return keys[i].mValue + (keys[i + 1].mValue - keys[i].mValue) * f;
}

aiQuaternion interpolate(const aiQuatKey* keys, unsigned count, float ticks) {
    if (count == 1)
        return keys[0].mValue;
    const unsigned i = keyPair(keys, count, ticks);
    aiQuaternion out;
    aiQuaternion::Interpolate(out, keys[i].mValue, keys[i + 1].mValue, blendFactor(keys, i, ticks));
    return out.Normalize();
}

const aiNodeAnim* findChannel(const aiAnimation* animation, const aiString& name) {
    for (unsigned c = 0; c < animation->mNumChannels; ++c)
        if (animation->mChannels[c]->mNodeName == name)
            return animation->mChannels[c];
    return nullptr;
}

void walkNodes(const SkinnedCharacter& character, float seconds, unsigned animationIndex,
               const std::function<void(const aiNode*, const glm::mat4&)>& visit) {
    const aiAnimation* animation = character.scene->mAnimations[animationIndex];
    const float tps = animation->mTicksPerSecond != 0.0 ? float(animation->mTicksPerSecond) : 25.0f;
    const float ticks = std::fmod(tps * seconds, float(animation->mDuration));
    std::function<void(const aiNode*, const glm::mat4&)> walk = [&](const aiNode* node,
                                                                    const glm::mat4& parent) {
        glm::mat4 local = toGlm(node->mTransformation);
        if (const aiNodeAnim* ch = findChannel(animation, node->mName)) {
            const aiVector3D s = interpolate(ch->mScalingKeys, ch->mNumScalingKeys, ticks);
            const aiQuaternion q = interpolate(ch->mRotationKeys, ch->mNumRotationKeys, ticks);
            const aiVector3D t = interpolate(ch->mPositionKeys, ch->mNumPositionKeys, ticks);
            local = glm::translate(glm::mat4(1.0f), glm::vec3(t.x, t.y, t.z)) *
                    glm::mat4_cast(glm::quat(q.w, q.x, q.y, q.z)) *
                    glm::scale(glm::mat4(1.0f), glm::vec3(s.x, s.y, s.z));
        }
        const glm::mat4 global = parent * local;
        visit(node, global);
        for (unsigned c = 0; c < node->mNumChildren; ++c)
            walk(node->mChildren[c], global);
    };
    walk(character.scene->mRootNode, glm::mat4(1.0f));
}

} // namespace

SkinnedCharacter prepareCharacter(const aiScene* scene) {
    SkinnedCharacter c;
    c.scene = scene;
    c.globalInverse = glm::inverse(toGlm(scene->mRootNode->mTransformation));
    const aiMesh* mesh = scene->mMeshes[0];
    c.influences.resize(mesh->mNumVertices);
    for (unsigned b = 0; b < mesh->mNumBones; ++b) {
        const aiBone* bone = mesh->mBones[b];
        const unsigned index = unsigned(c.offsets.size());
        c.boneIndex[bone->mName.C_Str()] = index;
        c.offsets.push_back(toGlm(bone->mOffsetMatrix));
        for (unsigned w = 0; w < bone->mNumWeights; ++w)
            c.influences[bone->mWeights[w].mVertexId].emplace_back(index, bone->mWeights[w].mWeight);
    }
    return c;
}

std::vector<glm::mat4> boneMatrices(const SkinnedCharacter& character, float seconds, unsigned animation) {
    std::vector<glm::mat4> out(character.offsets.size(), glm::mat4(0.0f));
    walkNodes(character, seconds, animation, [&](const aiNode* node, const glm::mat4& global) {
        auto it = character.boneIndex.find(node->mName.C_Str());
        if (it != character.boneIndex.end())
            out[it->second] = character.globalInverse * global * character.offsets[it->second];
    });
    return out;
}

std::map<std::string, glm::mat4> nodeGlobals(const SkinnedCharacter& character, float seconds,
                                             unsigned animation) {
    std::map<std::string, glm::mat4> out;
    walkNodes(character, seconds, animation,
              [&](const aiNode* node, const glm::mat4& global) { out[node->mName.C_Str()] = global; });
    return out;
}

std::vector<glm::vec3> skinVertices(const SkinnedCharacter& character, const std::vector<glm::mat4>& bones,
                                    std::vector<glm::vec3>* normals) {
    const aiMesh* mesh = character.scene->mMeshes[0];
    std::vector<glm::vec3> out(mesh->mNumVertices);
    if (normals)
        normals->assign(mesh->mNumVertices, glm::vec3(0.0f));
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
        glm::mat4 m(0.0f);
        const auto& in = character.influences[v];
        for (size_t k = 0; k < in.size() && k < 4; ++k)
            m += bones[in[k].first] * in[k].second;
        const aiVector3D p = mesh->mVertices[v];
        out[v] = glm::vec3(m * glm::vec4(p.x, p.y, p.z, 1.0f));
        if (normals && mesh->mNormals) {
            const aiVector3D n = mesh->mNormals[v];
            (*normals)[v] = glm::normalize(glm::vec3(m * glm::vec4(n.x, n.y, n.z, 0.0f)));
        }
    }
    return out;
}
