// The CPU copy of the shaders' skinning matrix that bounds the character's shadow: every one of the
// four slots counts, weights are renormalised, and unusable influences fall back as in the shaders.
#include "model/skinned_bounds.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

glm::vec3 placed(const VertexBoneData& influences, const std::vector<BoneInfo>& bones) {
    return glm::vec3(vertexSkinMatrix(influences, bones, 100) * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
}

std::vector<BoneInfo> movingBones() {
    std::vector<BoneInfo> bones(8);
    for (int i = 0; i < 8; ++i)
        bones[i].finalTransform =
            glm::translate(glm::mat4(1.0f), glm::vec3(static_cast<float>(1 << i), 0, 0));
    return bones;
}

VertexBoneData influences(std::initializer_list<std::pair<int, float>> slots) {
    VertexBoneData data;
    int k = 0;
    for (const auto& [id, weight] : slots) {
        data.boneIds[k] = id;
        data.weights[k] = weight;
        ++k;
    }
    return data;
}

} // namespace

TEST(SkinMatrix, BlendsTheFirstFourSlotsLikeTheShaders) {
    const std::vector<BoneInfo> bones = movingBones();
    struct Case {
        const char* what;
        VertexBoneData data;
        float x;
    };
    const Case cases[] = {
        // Bones 0..3 move by 1, 2, 4, 8: only the sum of all four weighted moves gives 4.9.
        {"four influences", influences({{0, 0.1f}, {1, 0.2f}, {2, 0.3f}, {3, 0.4f}}), 4.9f},
        {"weights renormalised", influences({{0, 0.2f}, {3, 0.2f}}), 4.5f},
        {"no weights: bind pose", influences({}), 0.0f},
        {"an index past the shader's table is skipped", influences({{1, 0.5f}, {100, 0.5f}}), 2.0f},
        {"a negative index is skipped", influences({{2, 0.5f}, {-1, 0.5f}}), 4.0f},
        {"a bone the table lacks blends in as zero", influences({{3, 0.5f}, {50, 0.5f}}), 4.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(placed(c.data, bones).x, c.x, 1e-5f) << c.what;
    // Slots five to eight never reach the shaders.
    VertexBoneData eight = influences({{0, 0.25f}, {1, 0.25f}, {2, 0.25f}, {3, 0.25f}});
    eight.boneIds[4] = 7;
    eight.weights[4] = 0.9f;
    EXPECT_NEAR(placed(eight, bones).x, 3.75f, 1e-5f);
}
