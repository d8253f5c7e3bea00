// Key-frame evaluation of a model's animations straight from the imported scene, and the skinned draw
// that uploads one matrix per bone ("gBones[i]") and "modelMatrix" before drawing the meshes.
#pragma once

#include "model/model.hpp"

#include <assimp/anim.h>
#include <assimp/scene.h>
#include <glad/gl.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

// Which keys of one key list give the value at a time: the blend of keys `first` and `second` by
// `factor`, or key `first` alone when both are the same (a single key, or a time outside the list,
// where the nearest end key is held).
struct KeyPair {
    unsigned int first = 0;
    unsigned int second = 0;
    float factor = 0.0f;
};

// The pair search on a list sorted by time; key times are compared in single precision and the
// factor's denominator is the difference of the two key times taken in double. Needs count >= 1.
template <typename Key> KeyPair findKeyPair(float ticks, const Key* keys, unsigned int count) {
    if (count <= 1 || ticks < static_cast<float>(keys[0].mTime))
        return KeyPair{};
    for (unsigned int i = 0; i + 1 < count; ++i) {
        if (ticks < static_cast<float>(keys[i + 1].mTime)) {
            const float factor = (ticks - static_cast<float>(keys[i].mTime)) /
                                 static_cast<float>(keys[i + 1].mTime - keys[i].mTime);
            return KeyPair{i, i + 1, factor};
        }
    }
    return KeyPair{count - 1, count - 1, 0.0f};
}

// A channel without keys of a kind leaves that part neutral: scale 1, no translation, no rotation.
aiVector3D interpolateScaling(float ticks, const aiNodeAnim* channel);
aiVector3D interpolatePosition(float ticks, const aiNodeAnim* channel);
aiQuaternion interpolateRotation(float ticks, const aiNodeAnim* channel);

// The first channel whose node name equals `nodeName` byte for byte, or null.
const aiNodeAnim* findChannel(const aiAnimation* animation, const aiString& nodeName);

// Seconds to animation ticks, looping over the duration, in single precision (0 ticks per second in
// the file means 25). A duration of 0 gives 0 ticks rather than the NaN of fmod by zero.
float animationTicks(const aiAnimation* animation, float timeInSeconds);

// Whether the model's scene has a node tree and an animation with this index.
bool hasAnimation(const Model& model, int animationIndex);

// Walks the node tree below `node`, writing finalTransform of every bone whose node it reaches.
void evaluateNode(Model& model, float ticks, const aiNode* node, const glm::mat4& parentTransform,
                  int animationIndex);

// One skinning matrix per bone, in bone-index order. Returns false and leaves `transforms` empty when
// the scene has no such animation.
bool boneTransforms(Model& model, float timeInSeconds, int animationIndex,
                    std::vector<glm::mat4>& transforms);

// "gBones[" + index in decimal + "]".
std::string boneUniformName(unsigned int boneIndex);

// Evaluates the animation, uploads the bone matrices and `modelMatrix` to `program`, which the caller has
// made current, and draws every mesh. Draws nothing and returns false when the animation is missing.
// Leaves `program` current, GL_TEXTURE0 active and the last mesh's textures bound on units 0 and 1.
bool drawSkinned(float timeInSeconds, Model& model, GLuint program, const glm::mat4& modelMatrix,
                 int animationIndex);
