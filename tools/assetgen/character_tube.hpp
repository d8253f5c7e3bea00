// A closed tube swept along a polyline of bones, the one primitive Wendrel's body is built from: rings
// follow the path, each ring takes the bone of its segment (blended smoothly where the bone changes, so
// knees and elbows fold instead of tearing), and its UVs fill one rectangle of the skin atlas.
#pragma once

#include "character_atlas.hpp"
#include "character_mesh.hpp"

#include <glm/glm.hpp>

#include <vector>

struct TubeInfluence {
    int joint;
    float weight;
};

struct TubeProfileKey {
    float dist;     // arc length from the start of the tube
    float rSide;    // half-width along the side axis
    float rFront;   // half-depth along the front axis
    float offFront; // centre shift along the front axis
};

struct CharacterTube {
    std::vector<glm::vec3> path;
    std::vector<int> segmentJoints; // bone of each path segment
    float bendBlend = 2.0f;         // half-width of the weight blend where the bone changes
    int parentJoint = -1;           // shares the first parentReach units of the tube
    float parentShare = 0.0f;
    float parentReach = 0.0f;
    std::vector<TubeProfileKey> profile;
    int rings = 12;
    int segments = 12;
    glm::vec3 sideRef{1.0f, 0.0f, 0.0f}; // the front axis is side x tangent: use -x for tubes swept downwards
    SkinRect rect{0, 0, 1, 1};
    bool capStart = true;
    bool capEnd = true;
};

// Appends the tube's vertices (with smooth normals) and counter-clockwise triangles, plus caps.
void addCharacterTube(CharacterMesh& mesh, const CharacterTube& tube);

// Stores up to four influences, strongest first, normalised to sum 1; tiny ones are dropped.
void setCharacterWeights(SkinnedVertex& vertex, std::vector<TubeInfluence> influences);
