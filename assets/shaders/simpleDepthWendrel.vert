#version 430 core
// Shadow pass, the character: skinned depth as the shadow light sees it.

layout(location = 0) in vec3 aPos;
layout(location = 5) in ivec4 boneIds;
layout(location = 6) in vec4 boneWeights;

const int MAX_BONES = 100;
uniform mat4 gBones[MAX_BONES];
uniform mat4 modelMatrix;
uniform mat4 lightSpaceMatrix;

// Weighted blend of up to four bone matrices. Influences past the fourth slot never reach the
// shader, so the weights are renormalised; a vertex without weights keeps its bind pose.
mat4 skinMatrix() {
    float total = 0.0;
    mat4 skin = mat4(0.0);
    for (int i = 0; i < 4; ++i) {
        int id = boneIds[i];
        if (boneWeights[i] > 0.0 && id >= 0 && id < MAX_BONES) {
            skin += gBones[id] * boneWeights[i];
            total += boneWeights[i];
        }
    }
    return total > 0.0 ? skin / total : mat4(1.0);
}

void main() { gl_Position = lightSpaceMatrix * modelMatrix * skinMatrix() * vec4(aPos, 1.0); }
