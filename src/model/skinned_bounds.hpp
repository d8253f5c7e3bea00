// Where a skinned model's vertices end up in the world for the pose its last skinned draw evaluated,
// worked out on the CPU the way the skinning vertex shaders place them, so a pass knows which part
// of its target the draw can have touched.
#pragma once

#include "model/model.hpp"

#include <glm/glm.hpp>

// The skinning matrix the shaders build for one vertex: the weighted blend of the bones in its first
// four slots (weights above 0, indices 0..maxBones-1), divided by the total weight; the identity for
// a vertex without such influences.
glm::mat4 vertexSkinMatrix(const VertexBoneData& influences, const std::vector<BoneInfo>& bones,
                           int maxBones);

// Box around modelMatrix * skin * position over every vertex of every mesh, with the bones'
// finalTransform as they are now. Returns false (and leaves the box alone) for a model without
// vertices.
bool skinnedWorldBounds(const Model& model, const glm::mat4& modelMatrix, glm::vec3& boxMin,
                        glm::vec3& boxMax);
