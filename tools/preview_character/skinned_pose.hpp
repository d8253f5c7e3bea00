// Poses an imported character the way the viewer does: ticks from seconds with fmod over the clip,
// the key pair below the time, T*R*S per animated node, and globalInverse * global * offset per bone;
// then skins the mesh on the CPU with its (at most four) weights.
#pragma once

#include <assimp/scene.h>
#include <glm/glm.hpp>

#include <map>
#include <string>
#include <vector>

struct SkinnedCharacter {
    const aiScene* scene = nullptr;
    glm::mat4 globalInverse{1.0f};
    std::map<std::string, unsigned> boneIndex;
    std::vector<glm::mat4> offsets;
    std::vector<std::vector<std::pair<unsigned, float>>> influences; // per vertex of mesh 0
};

SkinnedCharacter prepareCharacter(const aiScene* scene);

// One matrix per bone for the given time in seconds and animation.
std::vector<glm::mat4> boneMatrices(const SkinnedCharacter& character, float seconds, unsigned animation);

// The global transform of every node by name (model space) at that time.
std::map<std::string, glm::mat4> nodeGlobals(const SkinnedCharacter& character, float seconds,
                                             unsigned animation);

// Mesh 0's vertices moved by the bone matrices; the normals likewise when normals is non-null.
std::vector<glm::vec3> skinVertices(const SkinnedCharacter& character, const std::vector<glm::mat4>& bones,
                                    std::vector<glm::vec3>* normals);
