// Key-frame evaluation against poses worked out by hand: key pairs and held ends, tick arithmetic,
// channel lookup, the node walk with bone, non-bone and unreached nodes, and the shorter rotation arc.
#include "../support/scene_fixtures.hpp"
#include "model/animation.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected, float tolerance = 1e-5f) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(actual[c][r], expected[c][r], tolerance) << "row " << r << " column " << c;
}

glm::mat4 translate(float x, float y, float z) {
    return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
}

aiQuaternion aboutZ(float degrees) {
    return aiQuaternion(aiVector3D(0, 0, 1), glm::radians(degrees));
}

// root (moved up 10) -> hips (animated: slides along x from 0 to 10 over ticks 0..10)
//                          -> arm (no channel, 1 along x)
//                    -> prop (not a bone, scales by 2) -> hand (bone, 3 along z)
// Bone "ghost" has no node in the tree.
struct RigFixture {
    std::unique_ptr<aiScene> scene;
    Model model;

    explicit RigFixture(double ticksPerSecond = 10.0) {
        aiNode* arm = fixtures::node("arm", fixtures::translation(1, 0, 0));
        aiNode* hips = fixtures::node("hips", fixtures::translation(50, 50, 50), {arm});
        aiNode* hand = fixtures::node("hand", fixtures::translation(0, 0, 3));
        aiNode* prop = fixtures::node("prop", fixtures::scaling(2), {hand});
        aiNode* root = fixtures::node("root", fixtures::translation(0, 10, 0), {hips, prop});
        fixtures::Keys hipsKeys;
        hipsKeys.positions = {{0.0, aiVector3D(0, 0, 0)}, {10.0, aiVector3D(10, 0, 0)}};
        hipsKeys.rotations = {{0.0, aiQuaternion()}};
        hipsKeys.scalings = {{0.0, aiVector3D(1, 1, 1)}};
        aiAnimation* idle = fixtures::animation(20.0, ticksPerSecond, {});
        aiAnimation* slide = fixtures::animation(20.0, ticksPerSecond, {fixtures::channel("hips", hipsKeys)});
        scene = fixtures::scene(root, {}, {idle, slide});

        model.scene = scene.get();
        model.globalInverseTransform = translate(0, -10, 0);
        const char* bones[] = {"hips", "arm", "hand", "ghost"};
        for (const char* name : bones) {
            model.boneNameToIndex[name] = static_cast<unsigned int>(model.boneInfo.size());
            model.boneInfo.push_back(BoneInfo{});
            model.boneInfo.back().finalTransform = glm::mat4(0.0f);
        }
        model.boneInfo[0].offsetMatrix = translate(0, 0, -1);
    }
};

} // namespace

TEST(FindKeyPair, SearchesThePairAndHoldsTheEndKeysOutsideTheList) {
    const aiVectorKey keys[] = {aiVectorKey(5.0, aiVector3D()), aiVectorKey(10.0, aiVector3D()),
                                aiVectorKey(20.0, aiVector3D())};
    const struct {
        float time;
        unsigned count, first, second;
        float factor;
    } cases[] = {
        {7.5f, 3, 0, 1, 0.5f},  {10.0f, 3, 1, 2, 0.0f},
        {2.0f, 3, 0, 0, 0.0f},  // before the first key: hold it
        {20.0f, 3, 2, 2, 0.0f}, // at or after the last key: hold it
        {1e9f, 1, 0, 0, 0.0f},  // a single key holds whatever the time
    };
    for (const auto& c : cases) {
        const KeyPair pair = findKeyPair(c.time, keys, c.count);
        EXPECT_EQ(glm::uvec2(pair.first, pair.second), glm::uvec2(c.first, c.second)) << c.time;
        EXPECT_FLOAT_EQ(pair.factor, c.factor) << c.time;
    }
}

TEST(Interpolate, BlendsHoldsSingleKeysAndTreatsMissingKeysAsNeutral) {
    fixtures::Keys keys;
    keys.positions = {{0.0, aiVector3D(0, 0, 0)}, {4.0, aiVector3D(4, -8, 2)}};
    keys.scalings = {{50.0, aiVector3D(2, 3, 4)}};
    std::unique_ptr<aiNodeAnim> channel(fixtures::channel("n", keys));

    EXPECT_EQ(interpolatePosition(1.0f, channel.get()), aiVector3D(1, -2, 0.5f));
    EXPECT_EQ(interpolatePosition(9.0f, channel.get()), aiVector3D(4, -8, 2));
    EXPECT_EQ(interpolateScaling(0.0f, channel.get()), aiVector3D(2, 3, 4))
        << "one key, long before its time";
    const aiQuaternion rotation = interpolateRotation(3.0f, channel.get());
    EXPECT_EQ(rotation.w, 1.0f) << "no rotation keys: identity";
    EXPECT_EQ(rotation.x, 0.0f);

    std::unique_ptr<aiNodeAnim> empty(fixtures::channel("n", {}));
    EXPECT_EQ(interpolateScaling(3.0f, empty.get()), aiVector3D(1, 1, 1));
    EXPECT_EQ(interpolatePosition(3.0f, empty.get()), aiVector3D(0, 0, 0));
}

TEST(Interpolate, RotationTakesTheShorterArc) {
    // The end key is the 90-degree turn stored with all signs flipped: the same rotation, whose
    // four-component dot product with the start is negative.
    const aiQuaternion quarter = aboutZ(90.0f);
    fixtures::Keys keys;
    keys.rotations = {{0.0, aiQuaternion()},
                      {10.0, aiQuaternion(-quarter.w, -quarter.x, -quarter.y, -quarter.z)}};
    std::unique_ptr<aiNodeAnim> channel(fixtures::channel("n", keys));

    const aiQuaternion half = interpolateRotation(5.0f, channel.get());
    const aiQuaternion expected = aboutZ(45.0f);
    const float sign = half.w < 0.0f ? -1.0f : 1.0f;
    EXPECT_NEAR(sign * half.w, expected.w, 1e-6f);
    EXPECT_NEAR(sign * half.z, expected.z, 1e-6f);
    EXPECT_NEAR(half.w * half.w + half.x * half.x + half.y * half.y + half.z * half.z, 1.0f, 1e-6f);
}

TEST(FindChannel, MatchesWholeNamesExactlyAndTakesTheFirst) {
    fixtures::Keys first;
    first.positions = {{0.0, aiVector3D(1, 0, 0)}};
    fixtures::Keys second;
    second.positions = {{0.0, aiVector3D(2, 0, 0)}};
    std::unique_ptr<aiAnimation> animation(fixtures::animation(
        1.0, 1.0,
        {fixtures::channel("Arm", {}), fixtures::channel("arm", first), fixtures::channel("arm", second)}));
    const aiNodeAnim* found = findChannel(animation.get(), aiString("arm"));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->mPositionKeys[0].mValue.x, 1.0f);
    EXPECT_EQ(findChannel(animation.get(), aiString("ar")), nullptr);
    EXPECT_EQ(findChannel(animation.get(), aiString("arm2")), nullptr);
}

TEST(AnimationTicks, ZeroTicksPerSecondPlaysAtTwentyFiveAndTheTimeLoops) {
    std::unique_ptr<aiAnimation> unrated(fixtures::animation(100.0, 0.0, {}));
    EXPECT_FLOAT_EQ(animationTicks(unrated.get(), 0.1f), 2.5f);
    EXPECT_FLOAT_EQ(animationTicks(unrated.get(), 4.1f), 2.5f) << "100 ticks at 25 per second loop every 4 s";
    std::unique_ptr<aiAnimation> rated(fixtures::animation(30.0, 10.0, {}));
    EXPECT_FLOAT_EQ(animationTicks(rated.get(), 3.5f), 5.0f);
    std::unique_ptr<aiAnimation> instant(fixtures::animation(0.0, 10.0, {}));
    EXPECT_EQ(animationTicks(instant.get(), 3.5f), 0.0f) << "no NaN from a zero duration";
}

TEST(BoneTransforms, MatchHandComputedPosesWithAndWithoutChannels) {
    RigFixture rig;
    std::vector<glm::mat4> transforms;
    ASSERT_TRUE(boneTransforms(rig.model, 0.25f, 1, transforms)); // 2.5 ticks at 10 per second
    ASSERT_EQ(transforms.size(), 4u);
    // inverse(root) * root * T(2.5, 0, 0) * offset; the node's own T(50, 50, 50) is replaced by its channel.
    expectMatrixNear(transforms[0], translate(2.5f, 0, -1));
    // The arm has no channel: its own transform follows the animated hips.
    expectMatrixNear(transforms[1], translate(3.5f, 0, 0));
    // The hand sits under a non-bone node whose scale still reaches it.
    expectMatrixNear(transforms[2], glm::scale(glm::mat4(1.0f), glm::vec3(2.0f)) * translate(0, 0, 3));
    EXPECT_EQ(transforms[3], glm::mat4(0.0f)) << "a bone the walk never reaches keeps the zero matrix";
    EXPECT_EQ(rig.model.boneInfo[0].finalTransform, transforms[0]);

    // An animation without channels leaves every node at its own transform.
    ASSERT_TRUE(boneTransforms(rig.model, 0.25f, 0, transforms));
    expectMatrixNear(transforms[0], translate(50, 50, 49));
    expectMatrixNear(transforms[1], translate(51, 50, 50));
}

TEST(BoneTransforms, MissingAnimationOrSceneGivesNothing) {
    RigFixture rig;
    std::vector<glm::mat4> transforms(3);
    EXPECT_FALSE(boneTransforms(rig.model, 0.0f, 2, transforms));
    EXPECT_TRUE(transforms.empty());
    EXPECT_FALSE(boneTransforms(rig.model, 0.0f, -1, transforms));
    Model empty;
    EXPECT_FALSE(boneTransforms(empty, 0.0f, 0, transforms));
    EXPECT_FALSE(drawSkinned(0.0f, empty, 0, glm::mat4(1.0f), 1)) << "draws nothing, needs no GL";
}
