// Wendrel's three animation clips as key poses sampled on a fixed grid: 0 standing idle, 1 a walk cycle
// made for a ground speed of characterWalk::speed model units per second, 2 looking around warily. Legs are
// posed by two-bone IK against planted footprints, so the feet do not slide at that speed.
#pragma once

#include "character_rig.hpp"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <array>
#include <string>
#include <vector>

struct RigJointPose {
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f}; // local, relative to the parent joint
    glm::vec3 translation{0.0f};                // local offset from the parent joint
};

struct CharacterPose {
    std::array<RigJointPose, JointCount> joints;
};

struct CharacterClip {
    std::string name;
    int durationSeconds = 1;         // whole seconds: the FBX writer derives the clip's end from it
    float keysPerSecond = 24;        // the FBX reader's own frame rate, so keys land on whole ticks
    std::vector<CharacterPose> keys; // durationSeconds * keysPerSecond + 1 poses; the last equals the first
};

namespace characterWalk {
constexpr float speed = 90.0f;   // model units per second along +z (placement A of the scene)
constexpr float cycle = 0.75f;   // seconds per stride (two steps)
constexpr int cyclesPerClip = 4; // 3 s of clip
constexpr float stanceShare = 0.6f;
} // namespace characterWalk

// Local rest pose: identity rotations, offsets from the rig.
CharacterPose restPose();

// Builds the three clips; worstReach receives the largest hip-to-ankle distance the leg IK was asked
// for, as a share of the leg's length (above 1 means a foot could not reach its footprint).
std::vector<CharacterClip> buildCharacterClips(float& worstReach);
