// The character's skeleton: joint names, parents and rest positions in model units (origin between
// the feet, +y up, +z forward, the character's left on +x), shared by the mesh, the motion and the
// FBX writer.
#pragma once

#include <glm/glm.hpp>

#include <string>
#include <vector>

enum CharacterJoint {
    Hips,
    Spine,
    Chest,
    Neck,
    Head,
    LeftShoulder,
    LeftArm,
    LeftForeArm,
    LeftHand,
    RightShoulder,
    RightArm,
    RightForeArm,
    RightHand,
    LeftUpLeg,
    LeftLeg,
    LeftFoot,
    LeftToe,
    RightUpLeg,
    RightLeg,
    RightFoot,
    RightToe,
    JointCount
};

struct RigJoint {
    std::string name;
    int parent = -1;   // -1 for the root joint
    glm::vec3 restPos; // model space, rest pose
};

struct CharacterRig {
    std::vector<RigJoint> joints; // indexed by CharacterJoint; parents come before children
    float height = 0.0f;          // top of the head above the ground
};

const CharacterRig& characterRig();

// Rest-pose points on the sole used to plant the feet (model space, left foot; mirror x for the right).
struct FootGeometry {
    glm::vec3 heel; // back of the sole, on the ground
    glm::vec3 ball; // under the toe joint, on the ground
};
FootGeometry footGeometry(bool left);
