// Wendrel's body parts as tubes: their paths, radius profiles, bones and atlas rectangles. The parts
// overlap where they meet (hips, shoulders, ankles) rather than being stitched together.
#include "character_mesh.hpp"

#include "character_rig.hpp"
#include "character_tube.hpp"

#include <algorithm>
#include <cmath>

namespace {

float ramp(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Lets the top corners of the torso follow the collarbones, so a shrug lifts the shoulders.
void weightShoulders(CharacterMesh& mesh, std::uint32_t first, std::uint32_t end) {
    for (std::uint32_t i = first; i < end; ++i) {
        SkinnedVertex& v = mesh.vertices[i];
        const float share =
            0.7f * ramp(4.0f, 8.5f, std::fabs(v.position.x)) * ramp(61.0f, 67.0f, v.position.y);
        if (share <= 0.0f)
            continue;
        std::vector<TubeInfluence> influences;
        for (int k = 0; k < 4; ++k)
            if (v.weights[k] > 0.0f)
                influences.push_back({v.joints[k], v.weights[k] * (1.0f - share)});
        influences.push_back({v.position.x > 0.0f ? LeftShoulder : RightShoulder, share});
        setCharacterWeights(v, influences);
    }
}

void addTorso(CharacterMesh& mesh) {
    CharacterTube t;
    t.path = {{0, 38.5f, 0.3f}, {0, 46, 0},     {0, 52, -0.5f},
              {0, 60, -0.8f},   {0, 66, -0.8f}, {0, 71.5f, -0.2f}};
    t.segmentJoints = {Hips, Hips, Spine, Chest, Chest};
    t.bendBlend = 3.0f;
    t.profile = {{0.0f, 6.8f, 4.6f, 0.0f},  {2.0f, 8.0f, 5.4f, 0.0f},  {7.5f, 8.4f, 5.6f, -0.2f},
                 {13.5f, 7.0f, 4.9f, 0.2f}, {18.0f, 7.6f, 5.2f, 0.4f}, {22.0f, 8.6f, 5.6f, 0.5f},
                 {27.0f, 9.4f, 5.0f, 0.2f}, {29.5f, 8.6f, 4.4f, 0.0f}, {31.2f, 6.2f, 3.7f, 0.0f},
                 {32.4f, 3.6f, 3.2f, 0.0f}, {33.1f, 3.2f, 2.9f, 0.0f}};
    t.rings = 22;
    t.segments = 20;
    t.rect = skinAtlas::torso;
    const std::uint32_t first = std::uint32_t(mesh.vertices.size());
    addCharacterTube(mesh, t);
    weightShoulders(mesh, first, std::uint32_t(mesh.vertices.size()));
}

void addNeckAndHead(CharacterMesh& mesh) {
    CharacterTube neck;
    neck.path = {{0, 68.5f, -0.5f}, {0, 71, 0}, {0, 75, 0.8f}, {0, 77.5f, 1.0f}};
    neck.segmentJoints = {Chest, Neck, Head};
    neck.bendBlend = 1.5f;
    neck.profile = {{0.0f, 3.3f, 3.2f, 0.0f}, {9.0f, 2.8f, 2.9f, 0.0f}};
    neck.rings = 8;
    neck.segments = 12;
    neck.rect = skinAtlas::neck;
    neck.capStart = false;
    neck.capEnd = false;
    addCharacterTube(mesh, neck);

    CharacterTube head;
    head.path = {{0, 73.4f, 1.6f}, {0, 86.0f, 0.4f}};
    head.segmentJoints = {Head};
    head.profile = {{0.0f, 0.6f, 0.6f, 1.4f},   {0.8f, 2.4f, 2.6f, 1.6f},   {2.6f, 3.6f, 4.2f, 1.1f},
                    {5.0f, 4.4f, 5.1f, 0.5f},   {7.6f, 4.9f, 5.6f, 0.0f},   {10.2f, 4.4f, 5.1f, -0.4f},
                    {11.8f, 3.0f, 3.6f, -0.5f}, {12.66f, 0.6f, 0.8f, -0.4f}};
    head.rings = 16;
    head.segments = 18;
    head.rect = skinAtlas::head;
    addCharacterTube(mesh, head);

    CharacterTube nose;
    nose.path = {{0, 79.2f, 4.2f}, {0, 77.4f, 7.4f}};
    nose.segmentJoints = {Head};
    nose.profile = {{0.0f, 0.9f, 0.9f, 0.0f}, {2.5f, 0.6f, 0.5f, 0.0f}, {3.67f, 0.15f, 0.15f, 0.0f}};
    nose.rings = 5;
    nose.segments = 8;
    nose.sideRef = {1, 0, 0};
    nose.rect = skinAtlas::nose;
    nose.capStart = false;
    addCharacterTube(mesh, nose);

    for (float s : {1.0f, -1.0f}) {
        CharacterTube ear;
        ear.path = {{3.8f * s, 80.6f, 0.4f}, {7.0f * s, 82.2f, -1.0f}, {10.0f * s, 84.2f, -2.6f}};
        ear.segmentJoints = {Head, Head};
        ear.profile = {{0.0f, 1.8f, 0.5f, 0.0f}, {3.6f, 1.5f, 0.35f, 0.0f}, {7.3f, 0.1f, 0.1f, 0.0f}};
        ear.rings = 6;
        ear.segments = 8;
        ear.sideRef = {0, 1, 0};
        ear.rect = skinAtlas::ear;
        ear.capStart = false;
        addCharacterTube(mesh, ear);
    }
}

void addArm(CharacterMesh& mesh, bool left) {
    const float s = left ? 1.0f : -1.0f;
    CharacterTube arm;
    arm.path = {{6.2f * s, 67.4f, -0.6f},
                {9.0f * s, 68.0f, -0.6f},
                {10.6f * s, 53.0f, -1.2f},
                {11.3f * s, 40.5f, 0.0f},
                {11.35f * s, 39.6f, 0.05f}};
    arm.segmentJoints = {left ? LeftArm : RightArm, left ? LeftArm : RightArm,
                         left ? LeftForeArm : RightForeArm, left ? LeftHand : RightHand};
    arm.bendBlend = 2.2f;
    arm.parentJoint = left ? LeftShoulder : RightShoulder;
    arm.parentShare = 0.5f;
    arm.parentReach = 4.0f;
    arm.profile = {{0.0f, 2.5f, 3.0f, 0.0f},  {3.0f, 3.4f, 3.6f, 0.0f},  {9.0f, 3.1f, 3.2f, 0.0f},
                   {15.5f, 2.6f, 2.7f, 0.0f}, {18.0f, 2.6f, 2.7f, 0.0f}, {23.0f, 2.7f, 2.6f, 0.0f},
                   {28.5f, 2.0f, 1.8f, 0.0f}, {31.0f, 1.8f, 1.5f, 0.0f}};
    arm.sideRef = {-1.0f, 0.0f, 0.0f};
    arm.rings = 18;
    arm.segments = 12;
    arm.rect = skinAtlas::arm;
    arm.capEnd = false;
    addCharacterTube(mesh, arm);

    // Long, flat, clawed hands: the palm faces the thigh when the arm hangs.
    CharacterTube hand;
    hand.path = {{11.3f * s, 41.0f, 0.0f}, {11.5f * s, 36.6f, 0.5f}, {11.7f * s, 31.2f, 1.2f}};
    hand.segmentJoints = {left ? LeftHand : RightHand, left ? LeftHand : RightHand};
    hand.parentJoint = left ? LeftForeArm : RightForeArm;
    hand.parentShare = 0.4f;
    hand.parentReach = 1.5f;
    hand.profile = {{0.0f, 1.4f, 1.7f, 0.0f},
                    {2.0f, 1.3f, 2.4f, 0.0f},
                    {5.0f, 1.1f, 2.3f, 0.0f},
                    {8.0f, 0.7f, 1.6f, 0.0f},
                    {9.9f, 0.25f, 0.6f, 0.0f}};
    hand.sideRef = {-1.0f, 0.0f, 0.0f};
    hand.rings = 8;
    hand.segments = 10;
    hand.rect = skinAtlas::hand;
    hand.capStart = false;
    addCharacterTube(mesh, hand);
}

void addLeg(CharacterMesh& mesh, bool left) {
    const float s = left ? 1.0f : -1.0f;
    const int upLeg = left ? LeftUpLeg : RightUpLeg;
    const int leg = left ? LeftLeg : RightLeg;
    const int foot = left ? LeftFoot : RightFoot;
    const int toe = left ? LeftToe : RightToe;
    CharacterTube t;
    t.path = {{4.6f * s, 48.5f, 0.0f},
              {4.8f * s, 44.0f, 0.0f},
              {4.8f * s, 24.0f, 0.8f},
              {4.8f * s, 4.2f, -0.6f},
              {4.8f * s, 2.8f, -0.7f}};
    t.segmentJoints = {upLeg, upLeg, leg, foot};
    t.bendBlend = 2.5f;
    t.parentJoint = Hips;
    t.parentShare = 0.75f;
    t.parentReach = 7.0f;
    t.profile = {{0.0f, 6.2f, 6.0f, 0.0f},   {4.5f, 6.3f, 6.2f, 0.0f},  {14.0f, 5.4f, 5.4f, 0.0f},
                 {22.5f, 4.0f, 4.2f, 0.2f},  {24.5f, 3.9f, 4.2f, 0.2f}, {30.5f, 4.1f, 4.5f, -0.5f},
                 {40.0f, 3.0f, 3.2f, -0.2f}, {46.5f, 2.7f, 2.8f, 0.0f}, {47.9f, 2.6f, 2.7f, 0.0f}};
    t.sideRef = {-1.0f, 0.0f, 0.0f};
    t.rings = 26;
    t.segments = 14;
    t.rect = skinAtlas::leg;
    t.capStart = false;
    addCharacterTube(mesh, t);

    // Boot: swept from heel to toe with its seam under the sole; centres ride up so the sole is flat on y =
    // 0.
    CharacterTube boot;
    boot.path = {{4.8f * s, 0.0f, -4.4f}, {4.8f * s, 0.0f, 8.4f}, {4.8f * s, 0.0f, 13.0f}};
    boot.segmentJoints = {foot, toe};
    boot.bendBlend = 1.5f;
    boot.sideRef = {-1.0f, 0.0f, 0.0f};
    boot.profile = {{0.0f, 2.0f, 1.8f, 2.0f},  {1.0f, 2.6f, 2.7f, 2.8f},  {4.0f, 2.9f, 3.6f, 3.7f},
                    {7.5f, 3.0f, 3.0f, 3.1f},  {11.0f, 3.2f, 2.0f, 2.1f}, {14.5f, 3.0f, 1.5f, 1.6f},
                    {16.6f, 2.0f, 1.2f, 1.3f}, {17.4f, 0.8f, 0.8f, 0.9f}};
    boot.rings = 14;
    boot.segments = 12;
    boot.rect = skinAtlas::foot;
    addCharacterTube(mesh, boot);
}

} // namespace

CharacterMesh buildCharacterMesh() {
    CharacterMesh mesh;
    addTorso(mesh);
    addNeckAndHead(mesh);
    for (bool left : {true, false}) {
        addArm(mesh, left);
        addLeg(mesh, left);
    }
    return mesh;
}
