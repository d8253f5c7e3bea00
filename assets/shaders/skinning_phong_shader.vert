#version 430 core
// The character in the geometry-buffer and lit passes. Its outputs are those of
// geometryShader.vert, since geometryShader.frag serves both.

layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoords;
layout(location = 5) in ivec4 boneIds;
layout(location = 6) in vec4 boneWeights;

const int MAX_BONES = 100;
uniform mat4 gBones[MAX_BONES];
uniform mat4 modelMatrix;
uniform mat4 viewProjMatrix;

out vec3 worldPosition;
out vec3 worldNormal;
out vec3 viewPosition;
out vec3 viewNormal;
out vec2 texCoords;
// Read by geometryShader.frag only where a light-space matrix is set, which the skinned programs
// never get.
out vec3 lightSpacePosition;

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

// These programs get the combined view-projection only, while the occlusion pass needs view space.
// For a symmetric perspective P and a rigid view V, the rows of P * V are: row 0 = (f / aspect) *
// view row 0, row 1 = f * view row 1, row 3 = -(view row 2). The view rows therefore follow from
// viewProjMatrix by normalising the first two and negating the last.
void viewRows(out vec4 row0, out vec4 row1, out vec4 row2) {
    vec4 clipRow0 = vec4(viewProjMatrix[0][0], viewProjMatrix[1][0], viewProjMatrix[2][0], viewProjMatrix[3][0]);
    vec4 clipRow1 = vec4(viewProjMatrix[0][1], viewProjMatrix[1][1], viewProjMatrix[2][1], viewProjMatrix[3][1]);
    vec4 clipRow3 = vec4(viewProjMatrix[0][3], viewProjMatrix[1][3], viewProjMatrix[2][3], viewProjMatrix[3][3]);
    row0 = clipRow0 / max(length(clipRow0.xyz), 1e-6);
    row1 = clipRow1 / max(length(clipRow1.xyz), 1e-6);
    row2 = -clipRow3;
}

void main() {
    mat4 skin = skinMatrix();
    vec4 world = modelMatrix * skin * vec4(aPos, 1.0);
    worldPosition = world.xyz;
    worldNormal = transpose(inverse(mat3(modelMatrix))) * (mat3(skin) * aNormal);
    vec4 row0, row1, row2;
    viewRows(row0, row1, row2);
    viewPosition = vec3(dot(row0, world), dot(row1, world), dot(row2, world));
    viewNormal = vec3(dot(row0.xyz, worldNormal), dot(row1.xyz, worldNormal), dot(row2.xyz, worldNormal));
    texCoords = aTexCoords;
    lightSpacePosition = vec3(0.0);
    gl_Position = viewProjMatrix * world;
}
