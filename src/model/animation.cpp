// Evaluating an animation of the imported scene at a time: key-pair search and blending per channel,
// the node tree walk that composes bone matrices, and the upload for the skinned draw.
#include "model/animation.hpp"

#include "model/assimp_convert.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cmath>
#include <cstring>

namespace {

aiVector3D blendVectorKeys(float ticks, const aiVectorKey* keys, unsigned int count) {
    const KeyPair pair = findKeyPair(ticks, keys, count);
    const aiVector3D& start = keys[pair.first].mValue;
    if (pair.first == pair.second)
        return start;
    const aiVector3D& end = keys[pair.second].mValue;
    const float f = pair.factor;
    return aiVector3D(start.x + f * (end.x - start.x), start.y + f * (end.y - start.y),
                      start.z + f * (end.z - start.z));
}

} // namespace

aiVector3D interpolateScaling(float ticks, const aiNodeAnim* channel) {
    if (channel->mNumScalingKeys == 0 || !channel->mScalingKeys)
        return aiVector3D(1.0f, 1.0f, 1.0f);
    return blendVectorKeys(ticks, channel->mScalingKeys, channel->mNumScalingKeys);
}

aiVector3D interpolatePosition(float ticks, const aiNodeAnim* channel) {
    if (channel->mNumPositionKeys == 0 || !channel->mPositionKeys)
        return aiVector3D(0.0f, 0.0f, 0.0f);
    return blendVectorKeys(ticks, channel->mPositionKeys, channel->mNumPositionKeys);
}

aiQuaternion interpolateRotation(float ticks, const aiNodeAnim* channel) {
    if (channel->mNumRotationKeys == 0 || !channel->mRotationKeys)
        return aiQuaternion();
    const KeyPair pair = findKeyPair(ticks, channel->mRotationKeys, channel->mNumRotationKeys);
    const aiQuaternion& start = channel->mRotationKeys[pair.first].mValue;
    if (pair.first == pair.second)
        return start;
    aiQuaternion result;
    aiQuaternion::Interpolate(result, start, channel->mRotationKeys[pair.second].mValue, pair.factor);
    result.Normalize();
    return result;
}

const aiNodeAnim* findChannel(const aiAnimation* animation, const aiString& nodeName) {
    for (unsigned int i = 0; i < animation->mNumChannels; ++i) {
        const aiNodeAnim* channel = animation->mChannels[i];
        if (channel->mNodeName.length == nodeName.length &&
            std::memcmp(channel->mNodeName.data, nodeName.data, nodeName.length) == 0)
            return channel;
    }
    return nullptr;
}

float animationTicks(const aiAnimation* animation, float timeInSeconds) {
    const double ticksPerSecond = animation->mTicksPerSecond == 0.0 ? 25.0 : animation->mTicksPerSecond;
    const float duration = static_cast<float>(animation->mDuration);
    if (!(duration > 0.0f))
        return 0.0f;
    return std::fmod(static_cast<float>(ticksPerSecond) * timeInSeconds, duration);
}

bool hasAnimation(const Model& model, int animationIndex) {
    return model.scene && model.scene->mRootNode && animationIndex >= 0 &&
           static_cast<unsigned int>(animationIndex) < model.scene->mNumAnimations &&
           model.scene->mAnimations[animationIndex];
}

void evaluateNode(Model& model, float ticks, const aiNode* node, const glm::mat4& parentTransform,
                  int animationIndex) {
    glm::mat4 nodeTransform = toGlm(node->mTransformation);
    const aiNodeAnim* channel = findChannel(model.scene->mAnimations[animationIndex], node->mName);
    if (channel) {
        const aiVector3D scaling = interpolateScaling(ticks, channel);
        const aiQuaternion rotation = interpolateRotation(ticks, channel);
        const aiVector3D position = interpolatePosition(ticks, channel);
        const glm::mat4 identity(1.0f);
        const glm::mat4 s = glm::scale(identity, glm::vec3(scaling.x, scaling.y, scaling.z));
        const glm::mat4 r = glm::mat4_cast(glm::quat(rotation.w, rotation.x, rotation.y, rotation.z));
        const glm::mat4 t = glm::translate(identity, glm::vec3(position.x, position.y, position.z));
        nodeTransform = t * r * s;
    }
    const glm::mat4 globalTransform = parentTransform * nodeTransform;

    const auto bone = model.boneNameToIndex.find(std::string(node->mName.data, node->mName.length));
    if (bone != model.boneNameToIndex.end() && bone->second < model.boneInfo.size()) {
        BoneInfo& info = model.boneInfo[bone->second];
        info.finalTransform = model.globalInverseTransform * globalTransform * info.offsetMatrix;
    }

    for (unsigned int i = 0; i < node->mNumChildren; ++i)
        evaluateNode(model, ticks, node->mChildren[i], globalTransform, animationIndex);
}

bool boneTransforms(Model& model, float timeInSeconds, int animationIndex,
                    std::vector<glm::mat4>& transforms) {
    transforms.clear();
    if (!hasAnimation(model, animationIndex))
        return false;
    const float ticks = animationTicks(model.scene->mAnimations[animationIndex], timeInSeconds);
    evaluateNode(model, ticks, model.scene->mRootNode, glm::mat4(1.0f), animationIndex);
    transforms.resize(model.boneInfo.size());
    for (std::size_t i = 0; i < model.boneInfo.size(); ++i)
        transforms[i] = model.boneInfo[i].finalTransform;
    return true;
}

std::string boneUniformName(unsigned int boneIndex) {
    return "gBones[" + std::to_string(boneIndex) + "]";
}

bool drawSkinned(float timeInSeconds, Model& model, GLuint program, const glm::mat4& modelMatrix,
                 int animationIndex) {
    std::vector<glm::mat4> transforms;
    if (!boneTransforms(model, timeInSeconds, animationIndex, transforms))
        return false;
    // A program that failed to build (id 0) has no uniforms; asking it would only raise GL errors.
    if (program != 0) {
        for (std::size_t i = 0; i < transforms.size(); ++i) {
            const GLint location =
                glGetUniformLocation(program, boneUniformName(static_cast<unsigned int>(i)).c_str());
            glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(transforms[i]));
        }
        glUniformMatrix4fv(glGetUniformLocation(program, "modelMatrix"), 1, GL_FALSE,
                           glm::value_ptr(modelMatrix));
    }
    model.draw();
    return true;
}
