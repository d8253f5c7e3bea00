// Bone tables and vertex weights: dense indices in order of first appearance, shared and case-distinct
// names with their report lines, the eight-slot rule, influences whose vertex lies outside their mesh;
// and the animation clock. (The pose maths is checked on the generated walk, whose feet must not slide.)
#include "model/animation.hpp"
#include "model/model.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

// A bone of the given weights (vertex id, weight) whose offset matrix moves by `offsetX` along x.
aiBone* bone(const std::string& name, const std::vector<std::pair<unsigned int, float>>& weights,
             float offsetX = 0.0f) {
    aiBone* result = new aiBone();
    result->mName = aiString(name);
    aiMatrix4x4::Translation(aiVector3D(offsetX, offsetX, offsetX), result->mOffsetMatrix);
    result->mNumWeights = static_cast<unsigned int>(weights.size());
    result->mWeights = new aiVertexWeight[weights.size()];
    for (std::size_t i = 0; i < weights.size(); ++i)
        result->mWeights[i] = aiVertexWeight(weights[i].first, weights[i].second);
    return result;
}

// The steps the importer takes for one mesh before converting it: base vertex, grown skinning array,
// then the mesh's bones in list order.
void loadMeshBones(Model& model, int meshIndex, unsigned int vertexCount, const std::vector<aiBone*>& bones) {
    model.meshBaseVertex.resize(static_cast<std::size_t>(meshIndex) + 1);
    model.meshBaseVertex[static_cast<std::size_t>(meshIndex)] =
        static_cast<unsigned int>(model.vertexBoneData.size());
    model.vertexBoneData.resize(model.vertexBoneData.size() + vertexCount);
    for (const aiBone* bone : bones)
        model.loadBone(meshIndex, bone);
}

} // namespace

TEST(BoneTables, SharedBoneKeepsOneIndexAndItsFirstOffsetWhileCaseMakesANewBone) {
    std::unique_ptr<aiBone> hipA(bone("hip", {{1, 0.5f}}, 1.0f));
    std::unique_ptr<aiBone> spineUpper(bone("Spine", {{2, 0.75f}, {3, 0.25f}}));
    std::unique_ptr<aiBone> spineLower(bone("spine", {{0, 1.0f}}));
    std::unique_ptr<aiBone> hipB(bone("hip", {{3, 0.25f}}, 9.0f));

    Model model;
    ::testing::internal::CaptureStdout();
    loadMeshBones(model, 0, 10, {hipA.get(), spineUpper.get()});
    loadMeshBones(model, 1, 20, {spineLower.get(), hipB.get()});
    const std::string out = ::testing::internal::GetCapturedStdout();

    EXPECT_EQ(out, "      Bone 0: 'hip' num vertices affected by this bone: 1\n"
                   "      Bone 1: 'Spine' num vertices affected by this bone: 2\n"
                   "      Bone 2: 'spine' num vertices affected by this bone: 1\n"
                   "      Bone 0: 'hip' num vertices affected by this bone: 1\n");
    ASSERT_EQ(model.boneInfo.size(), 3u);
    EXPECT_EQ(model.boneNameToIndex.at("hip"), 0u);
    EXPECT_EQ(model.boneNameToIndex.at("Spine"), 1u);
    EXPECT_EQ(model.boneNameToIndex.at("spine"), 2u);
    EXPECT_EQ(model.boneInfo[0].offsetMatrix[3][0], 1.0f) << "the first mesh's offset matrix stays";

    ASSERT_EQ(model.vertexBoneData.size(), 30u);
    EXPECT_EQ(model.vertexBoneData[3].boneIds[0], 1);
    // Mesh 1's vertex 3 is record 13 and gets the shared bone under its first index.
    EXPECT_EQ(model.vertexBoneData[13].boneIds[0], 0);
    EXPECT_EQ(model.vertexBoneData[13].weights[0], 0.25f);
    EXPECT_EQ(model.vertexBoneData[10].boneIds[0], 2);
}

TEST(BoneTables, InfluencesOutsideTheirMeshAreSkipped) {
    std::unique_ptr<aiBone> wild(
        bone("wild", {{10, 0.5f}, {4, 0.5f}, {std::numeric_limits<unsigned int>::max(), 0.5f}}));
    Model model;
    ::testing::internal::CaptureStdout();
    loadMeshBones(model, 0, 10, {wild.get()});
    loadMeshBones(model, 1, 5, {});
    ::testing::internal::GetCapturedStdout();

    EXPECT_EQ(model.vertexBoneData[4].weights[0], 0.5f) << "the valid influence is kept";
    // Vertex id 10 of mesh 0 would have been mesh 1's vertex 0.
    for (std::size_t record = 10; record < 15; ++record)
        EXPECT_EQ(model.vertexBoneData[record].weights[0], 0.0f) << "record " << record;
    EXPECT_EQ(model.boneInfo.size(), 1u);
}

TEST(AddWeight, KeepsTheFirstEightInfluencesInOrderWithoutRescaling) {
    VertexBoneData record;
    for (unsigned int bone = 0; bone < 9; ++bone)
        addWeight(record, bone + 1, 0.1f * static_cast<float>(bone + 1));
    for (int slot = 0; slot < 8; ++slot) {
        EXPECT_EQ(record.boneIds[slot], slot + 1);
        EXPECT_FLOAT_EQ(record.weights[slot], 0.1f * static_cast<float>(slot + 1));
    }
}

TEST(AnimationTicks, ZeroTicksPerSecondPlaysAtTwentyFiveAndTheTimeLoops) {
    const auto ticks = [](double duration, double perSecond, float seconds) {
        aiAnimation animation;
        animation.mDuration = duration;
        animation.mTicksPerSecond = perSecond;
        return animationTicks(&animation, seconds);
    };
    EXPECT_FLOAT_EQ(ticks(100.0, 0.0, 0.1f), 2.5f);
    EXPECT_FLOAT_EQ(ticks(100.0, 0.0, 4.1f), 2.5f) << "100 ticks at 25 per second loop every 4 s";
    EXPECT_FLOAT_EQ(ticks(30.0, 10.0, 3.5f), 5.0f);
    EXPECT_EQ(ticks(0.0, 10.0, 3.5f), 0.0f) << "no NaN from a zero duration";
}
