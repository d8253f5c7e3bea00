// Procedural key poses for Wendrel. Upper-body joints are driven by a few periodic curves; the legs are
// solved with two-bone IK against footprints that stay fixed on the ground while the model moves at
// characterWalk::speed, with the sole rolling over the heel at strike and over the ball at toe-off.
#include "character_motion.hpp"

#include <glm/gtc/constants.hpp>

#include <algorithm>
#include <cmath>

namespace {

const glm::vec3 xAxis{1.0f, 0.0f, 0.0f};
const glm::vec3 yAxis{0.0f, 1.0f, 0.0f};
const glm::vec3 zAxis{0.0f, 0.0f, 1.0f};

// Positive pitch tips a bone's +y towards +z (a forward lean; a forward-pointing bone tips down).
glm::quat pitch(float degrees) {
    return glm::angleAxis(glm::radians(degrees), xAxis);
}
// Positive yaw turns +z towards +x, the character's left.
glm::quat yaw(float degrees) {
    return glm::angleAxis(glm::radians(degrees), yAxis);
}
// Positive roll lifts +x.
glm::quat roll(float degrees) {
    return glm::angleAxis(glm::radians(degrees), zAxis);
}

float smooth01(float x) {
    const float t = std::clamp(x, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float wave(float phase) {
    return std::sin(glm::two_pi<float>() * phase);
}

glm::vec3 restPos(int joint) {
    return characterRig().joints[joint].restPos;
}

// Rotation taking the frame (a, b) to (a2, b2), each made orthonormal around its first vector.
glm::quat frameRotation(glm::vec3 a, glm::vec3 b, glm::vec3 a2, glm::vec3 b2) {
    auto frame = [](glm::vec3 p, glm::vec3 q) {
        p = glm::normalize(p);
        q = glm::normalize(q - glm::dot(q, p) * p);
        return glm::mat3(p, q, glm::cross(p, q));
    };
    return glm::normalize(glm::quat_cast(frame(a2, b2) * glm::transpose(frame(a, b))));
}

struct LegTarget {
    glm::vec3 ankle;
    float footPitch = 0.0f; // degrees, positive lifts the toes
    float toeBend = 0.0f;   // degrees the toes bend up against the foot
};

struct LegJoints {
    CharacterJoint upLeg, leg, foot, toe;
};

LegJoints legJoints(bool left) {
    return left ? LegJoints{LeftUpLeg, LeftLeg, LeftFoot, LeftToe}
                : LegJoints{RightUpLeg, RightLeg, RightFoot, RightToe};
}

// The ankle's place for a sole pitched about one of its ground points.
glm::vec3 ankleAbout(bool left, glm::vec3 pivotRest, glm::vec3 pivotNow, float footPitch) {
    return pivotNow + pitch(-footPitch) * (restPos(legJoints(left).foot) - pivotRest);
}

void solveLeg(CharacterPose& pose, bool left, const LegTarget& target, float& worstReach) {
    const LegJoints j = legJoints(left);
    const glm::quat hipsRot = pose.joints[Hips].rotation;
    const glm::vec3 hip = pose.joints[Hips].translation + hipsRot * (restPos(j.upLeg) - restPos(Hips));
    const glm::vec3 hinge = hipsRot * xAxis;
    const float l1 = glm::length(restPos(j.leg) - restPos(j.upLeg));
    const float l2 = glm::length(restPos(j.foot) - restPos(j.leg));
    const glm::vec3 toAnkle = target.ankle - hip;
    const float wanted = glm::length(toAnkle);
    worstReach = std::max(worstReach, wanted / (l1 + l2));
    const float d = std::clamp(wanted, std::fabs(l1 - l2) + 0.01f, (l1 + l2) * 0.9995f);
    const glm::vec3 along = toAnkle / wanted;
    const glm::vec3 forward = glm::normalize(glm::cross(along, hinge));
    const float cosA = std::clamp((l1 * l1 + d * d - l2 * l2) / (2.0f * l1 * d), -1.0f, 1.0f);
    const glm::vec3 knee = hip + l1 * (cosA * along + std::sqrt(1.0f - cosA * cosA) * forward);
    const glm::vec3 ankle = hip + d * along;

    const glm::quat thigh = frameRotation(restPos(j.leg) - restPos(j.upLeg), xAxis, knee - hip, hinge);
    const glm::quat shin = frameRotation(restPos(j.foot) - restPos(j.leg), xAxis, ankle - knee, hinge);
    const glm::quat foot = pitch(-target.footPitch);
    pose.joints[j.upLeg].rotation = glm::inverse(hipsRot) * thigh;
    pose.joints[j.leg].rotation = glm::inverse(thigh) * shin;
    pose.joints[j.foot].rotation = glm::inverse(shin) * foot;
    pose.joints[j.toe].rotation = pitch(-target.toeBend);
}

// Feet standing flat on their rest footprints, shifted by offset.
LegTarget standingFoot(bool left, glm::vec3 offset) {
    return LegTarget{restPos(legJoints(left).foot) + offset, 0.0f, 0.0f};
}

// ---- walk ----

constexpr float strikePitch = 16.0f; // toes up as the heel lands
constexpr float toeOffPitch = 30.0f; // heel up as the toes push off
constexpr float heelRockEnd = 0.14f; // stance share spent rolling onto the flat sole
constexpr float heelRiseStart = 0.5f;
constexpr float swingLift = 4.5f;
constexpr float footInset = 0.6f; // feet step a little inside the hip joints

// Stance: the heel's footprint was laid at heelZ0 and slides back with the ground.
LegTarget stanceFoot(bool left, float share, float heelZ0) {
    const FootGeometry g = footGeometry(left);
    const float inset = left ? -footInset : footInset;
    const float heelZ =
        heelZ0 - characterWalk::speed * share * characterWalk::stanceShare * characterWalk::cycle;
    const glm::vec3 heel{g.heel.x + inset, 0.0f, heelZ};
    LegTarget t;
    if (share < heelRiseStart) {
        t.footPitch = strikePitch * (1.0f - smooth01(share / heelRockEnd));
        t.ankle = ankleAbout(left, g.heel, heel, t.footPitch);
    } else {
        const float r = (share - heelRiseStart) / (1.0f - heelRiseStart);
        t.footPitch = -toeOffPitch * r * r;
        t.toeBend = -t.footPitch;
        t.ankle = ankleAbout(left, g.ball, heel + (g.ball - g.heel), t.footPitch);
    }
    t.ankle.x = restPos(legJoints(left).foot).x + inset;
    return t;
}

// Where the heel lands, chosen so the ankle sweeps symmetrically about the hip.
float strikeHeelZ() {
    const float atStrike = stanceFoot(true, 0.0f, 0.0f).ankle.z;
    const float atToeOff = stanceFoot(true, 1.0f, 0.0f).ankle.z;
    return -(atStrike + atToeOff) * 0.5f;
}

LegTarget walkFoot(bool left, float phase) {
    const float heelZ0 = strikeHeelZ();
    if (phase < characterWalk::stanceShare)
        return stanceFoot(left, phase / characterWalk::stanceShare, heelZ0);
    const float s = (phase - characterWalk::stanceShare) / (1.0f - characterWalk::stanceShare);
    const LegTarget off = stanceFoot(left, 1.0f, heelZ0);
    const LegTarget strike = stanceFoot(left, 0.0f, heelZ0);
    const float e = smooth01(s);
    LegTarget t;
    t.ankle = off.ankle + (strike.ankle - off.ankle) * e;
    // Forward travel leaves and meets the ground at the ground's own speed (a Hermite curve with
    // end tangents -speed), so the foot neither skids at heel strike nor jerks at toe-off.
    const float groundStep =
        -characterWalk::speed * (1.0f - characterWalk::stanceShare) * characterWalk::cycle;
    const float s2 = s * s, s3 = s2 * s;
    t.ankle.z = (2.0f * s3 - 3.0f * s2 + 1.0f) * off.ankle.z + (s3 - 2.0f * s2 + s) * groundStep +
                (-2.0f * s3 + 3.0f * s2) * strike.ankle.z + (s3 - s2) * groundStep;
    t.ankle.y += swingLift * std::sin(glm::pi<float>() * std::pow(s, 0.8f));
    t.footPitch = off.footPitch + (strike.footPitch - off.footPitch) * smooth01(s / 0.85f);
    t.toeBend = off.toeBend * (1.0f - smooth01(s / 0.35f));
    return t;
}

CharacterPose walkPose(float seconds, float& worstReach) {
    const float phase = std::fmod(seconds / characterWalk::cycle, 1.0f); // 0: left heel strikes
    const float c = std::cos(glm::two_pi<float>() * phase); // +1 left leg ahead, -1 right leg ahead
    CharacterPose pose = restPose();
    // The pelvis is lowest just after each heel strike and highest over the planted foot.
    const float bob = 0.5f + 0.5f * std::cos(2.0f * glm::two_pi<float>() * (phase - 0.06f));
    const float hipsY = restPos(Hips).y - 1.4f - 2.6f * bob;
    pose.joints[Hips].translation = {0.8f * wave(phase - 0.05f), hipsY, 0.0f};
    const float pelvisYaw = -6.0f * c;
    const float pelvisRoll = 3.5f * wave(phase - 0.05f);
    pose.joints[Hips].rotation = yaw(pelvisYaw) * roll(pelvisRoll) * pitch(3.0f);

    solveLeg(pose, true, walkFoot(true, phase), worstReach);
    solveLeg(pose, false, walkFoot(false, std::fmod(phase + 0.5f, 1.0f)), worstReach);

    // Shoulders counter-rotate against the pelvis; the head stays level and looks ahead.
    pose.joints[Spine].rotation = yaw(-0.6f * pelvisYaw) * roll(-0.6f * pelvisRoll) * pitch(5.0f);
    pose.joints[Chest].rotation =
        yaw(-0.9f * pelvisYaw) * roll(-0.3f * pelvisRoll) * pitch(4.0f - 1.0f * bob);
    pose.joints[Neck].rotation = yaw(0.3f * pelvisYaw) * pitch(-4.0f);
    pose.joints[Head].rotation = yaw(0.2f * pelvisYaw) * roll(-0.1f * pelvisRoll) * pitch(-7.0f + 1.5f * bob);

    for (bool left : {true, false}) {
        const float ahead = left ? -c : c; // an arm swings with the opposite leg
        const float side = left ? 1.0f : -1.0f;
        pose.joints[left ? LeftShoulder : RightShoulder].rotation = yaw(-4.0f * ahead * side);
        pose.joints[left ? LeftArm : RightArm].rotation = pitch(-3.0f - 17.0f * ahead) * roll(6.0f * side);
        pose.joints[left ? LeftForeArm : RightForeArm].rotation =
            pitch(-12.0f - 12.0f * std::max(0.0f, ahead));
        pose.joints[left ? LeftHand : RightHand].rotation = pitch(-8.0f) * roll(-4.0f * side);
    }
    return pose;
}

// ---- idle ----

CharacterPose idlePose(float seconds, float& worstReach) {
    const float phase = seconds / 4.0f;
    const float breath = wave(seconds / 2.0f);
    CharacterPose pose = restPose();
    const float swayX = 1.0f * wave(phase);
    pose.joints[Hips].translation = {swayX, restPos(Hips).y - 0.8f + 0.25f * breath,
                                     0.2f * wave(phase + 0.25f)};
    pose.joints[Hips].rotation = roll(1.5f * wave(phase)) * yaw(2.0f * wave(phase + 0.1f)) * pitch(2.0f);
    solveLeg(pose, true, standingFoot(true, glm::vec3(0.0f)), worstReach);
    solveLeg(pose, false, standingFoot(false, glm::vec3(0.0f)), worstReach);

    pose.joints[Spine].rotation = roll(-1.2f * wave(phase)) * pitch(4.0f);
    pose.joints[Chest].rotation = roll(-0.4f * wave(phase)) * pitch(3.0f - 1.2f * breath);
    pose.joints[Neck].rotation = pitch(-2.0f) * yaw(4.0f * wave(phase + 0.05f));
    pose.joints[Head].rotation = yaw(9.0f * wave(phase)) * pitch(-5.0f + 3.0f * wave(2.0f * phase + 0.15f));
    for (bool left : {true, false}) {
        const float side = left ? 1.0f : -1.0f;
        pose.joints[left ? LeftShoulder : RightShoulder].rotation = roll(1.6f * breath * side);
        pose.joints[left ? LeftArm : RightArm].rotation =
            pitch(-3.0f + 2.0f * wave(phase + (left ? 0.0f : 0.3f))) * roll(4.0f * side);
        pose.joints[left ? LeftForeArm : RightForeArm].rotation = pitch(-14.0f + 3.0f * breath);
        pose.joints[left ? LeftHand : RightHand].rotation = pitch(-10.0f);
    }
    return pose;
}

// ---- looking around ----

// Lingers at the ends of a swing: a shaped sine that turns, holds, and turns back.
float lingering(float phase) {
    const float s = wave(phase);
    return std::copysign(std::pow(std::fabs(s), 0.55f), s);
}

CharacterPose lookPose(float seconds, float& worstReach) {
    const float phase = seconds / 4.0f;
    const float turn = 55.0f * lingering(phase); // positive: looking to its left
    const float peer = 0.5f - 0.5f * std::cos(2.0f * glm::two_pi<float>() * phase); // 1 at both ends
    CharacterPose pose = restPose();
    pose.joints[Hips].translation = {1.6f * lingering(phase), restPos(Hips).y - 1.5f - 2.5f * peer,
                                     -0.5f * peer};
    pose.joints[Hips].rotation =
        yaw(0.12f * turn) * roll(-2.0f * lingering(phase)) * pitch(4.0f + 5.0f * peer);
    solveLeg(pose, true, standingFoot(true, glm::vec3(0.6f, 0.0f, 1.5f)), worstReach);
    solveLeg(pose, false, standingFoot(false, glm::vec3(-0.6f, 0.0f, -1.5f)), worstReach);

    pose.joints[Spine].rotation = yaw(0.18f * turn) * pitch(5.0f + 4.0f * peer);
    pose.joints[Chest].rotation = yaw(0.22f * turn) * pitch(4.0f + 3.0f * peer);
    pose.joints[Neck].rotation = yaw(0.2f * turn) * pitch(-4.0f - 4.0f * peer);
    pose.joints[Head].rotation = yaw(0.28f * turn) * roll(0.1f * turn) * pitch(-6.0f - 6.0f * peer);
    for (bool left : {true, false}) {
        const float side = left ? 1.0f : -1.0f;
        // Claws held up before the chest; the hand on the side it looks towards reaches out.
        const float reach = std::max(0.0f, side * lingering(phase));
        pose.joints[left ? LeftShoulder : RightShoulder].rotation = roll(3.0f * side) * yaw(-6.0f * side);
        pose.joints[left ? LeftArm : RightArm].rotation =
            pitch(-30.0f - 18.0f * reach) * roll((10.0f + 8.0f * reach) * side);
        pose.joints[left ? LeftForeArm : RightForeArm].rotation =
            pitch(-75.0f + 30.0f * reach) * yaw(-10.0f * side);
        pose.joints[left ? LeftHand : RightHand].rotation =
            pitch(20.0f - 10.0f * reach) * roll(-10.0f * side);
    }
    return pose;
}

template <typename PoseAt>
CharacterClip sampleClip(const char* name, int durationSeconds, PoseAt poseAt, float& worstReach) {
    CharacterClip clip;
    clip.name = name;
    clip.durationSeconds = durationSeconds;
    const int count = int(clip.keysPerSecond) * durationSeconds;
    for (int k = 0; k < count; ++k)
        clip.keys.push_back(poseAt(float(k) / clip.keysPerSecond, worstReach));
    clip.keys.push_back(clip.keys.front()); // the loop closes exactly
    return clip;
}

} // namespace

CharacterPose restPose() {
    CharacterPose pose;
    const CharacterRig& rig = characterRig();
    for (int j = 0; j < JointCount; ++j) {
        const RigJoint& joint = rig.joints[j];
        pose.joints[j].translation =
            joint.parent < 0 ? joint.restPos : joint.restPos - rig.joints[joint.parent].restPos;
    }
    return pose;
}

std::vector<CharacterClip> buildCharacterClips(float& worstReach) {
    worstReach = 0.0f;
    std::vector<CharacterClip> clips;
    clips.push_back(sampleClip("Idle", 4, idlePose, worstReach));
    clips.push_back(sampleClip("Walk", int(characterWalk::cycle * characterWalk::cyclesPerClip + 0.5f),
                               walkPose, worstReach));
    clips.push_back(sampleClip("LookAround", 4, lookPose, worstReach));
    return clips;
}
