// CPU copy of the skinning vertex shaders' placement, used only for bounds.
#include "model/skinned_bounds.hpp"

#include <algorithm>

namespace {

// The bone table size the skinning shaders declare ("gBones[100]").
constexpr int kShaderMaxBones = 100;

} // namespace

glm::mat4 vertexSkinMatrix(const VertexBoneData& influences, const std::vector<BoneInfo>& bones,
                           int maxBones) {
    float total = 0.0f;
    glm::mat4 skin(0.0f);
    const int available = std::min(maxBones, static_cast<int>(bones.size()));
    for (int i = 0; i < 4; ++i) {
        const int id = influences.boneIds[i];
        const float weight = influences.weights[i];
        if (weight > 0.0f && id >= 0 && id < maxBones) {
            // A bone index the shader accepts but the table lacks reads an unset uniform, which is zero.
            if (id < available)
                skin += bones[id].finalTransform * weight;
            total += weight;
        }
    }
    return total > 0.0f ? skin / total : glm::mat4(1.0f);
}

bool skinnedWorldBounds(const Model& model, const glm::mat4& modelMatrix, glm::vec3& boxMin,
                        glm::vec3& boxMax) {
    bool any = false;
    glm::vec3 low(0.0f);
    glm::vec3 high(0.0f);
    const VertexBoneData none;
    for (const Mesh& mesh : model.meshes) {
        for (size_t v = 0; v < mesh.vertices.size(); ++v) {
            const VertexBoneData& influences = v < mesh.boneData.size() ? mesh.boneData[v] : none;
            const glm::mat4 skin = vertexSkinMatrix(influences, model.boneInfo, kShaderMaxBones);
            const glm::vec3 world =
                glm::vec3(modelMatrix * (skin * glm::vec4(mesh.vertices[v].position, 1.0f)));
            low = any ? glm::min(low, world) : world;
            high = any ? glm::max(high, world) : world;
            any = true;
        }
    }
    if (any) {
        boxMin = low;
        boxMax = high;
    }
    return any;
}
