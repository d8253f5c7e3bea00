// Proportions of Wendrel: a lanky, slightly stooped figure about 86 units tall (1.7 m at the scene's
// 0.02 scale), legs a little longer than a person's so the brisk walk the scene asks for fits them.
#include "character_rig.hpp"

namespace {

CharacterRig buildRig() {
    CharacterRig rig;
    rig.height = 86.0f;
    rig.joints.resize(JointCount);
    auto set = [&](CharacterJoint j, const char* name, int parent, glm::vec3 pos) {
        rig.joints[j] = RigJoint{name, parent, pos};
    };
    set(Hips, "Hips", -1, {0.0f, 46.0f, 0.0f});
    set(Spine, "Spine", Hips, {0.0f, 52.0f, -0.5f});
    set(Chest, "Chest", Spine, {0.0f, 60.0f, -0.8f});
    set(Neck, "Neck", Chest, {0.0f, 71.0f, 0.0f});
    set(Head, "Head", Neck, {0.0f, 75.0f, 0.8f});
    for (int side = 0; side < 2; ++side) {
        const float s = side == 0 ? 1.0f : -1.0f;
        const bool left = side == 0;
        set(left ? LeftShoulder : RightShoulder, left ? "LeftShoulder" : "RightShoulder", Chest,
            {2.0f * s, 68.5f, -0.6f});
        set(left ? LeftArm : RightArm, left ? "LeftArm" : "RightArm", left ? LeftShoulder : RightShoulder,
            {9.0f * s, 68.0f, -0.6f});
        set(left ? LeftForeArm : RightForeArm, left ? "LeftForeArm" : "RightForeArm",
            left ? LeftArm : RightArm, {10.6f * s, 53.0f, -1.2f});
        set(left ? LeftHand : RightHand, left ? "LeftHand" : "RightHand", left ? LeftForeArm : RightForeArm,
            {11.3f * s, 40.5f, 0.0f});
        set(left ? LeftUpLeg : RightUpLeg, left ? "LeftUpLeg" : "RightUpLeg", Hips, {4.8f * s, 44.0f, 0.0f});
        set(left ? LeftLeg : RightLeg, left ? "LeftLeg" : "RightLeg", left ? LeftUpLeg : RightUpLeg,
            {4.8f * s, 24.0f, 0.8f});
        set(left ? LeftFoot : RightFoot, left ? "LeftFoot" : "RightFoot", left ? LeftLeg : RightLeg,
            {4.8f * s, 4.2f, -0.6f});
        set(left ? LeftToe : RightToe, left ? "LeftToe" : "RightToe", left ? LeftFoot : RightFoot,
            {4.8f * s, 1.2f, 8.4f});
    }
    return rig;
}

} // namespace

const CharacterRig& characterRig() {
    static const CharacterRig rig = buildRig();
    return rig;
}

FootGeometry footGeometry(bool left) {
    const float x = left ? 4.8f : -4.8f;
    return FootGeometry{{x, 0.0f, -3.6f}, {x, 0.0f, 8.4f}};
}
