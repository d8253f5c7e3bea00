#version 430 core
// Lit pass, static objects: world-space position and normal for the night lighting.

layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoords;

uniform mat4 modelMatrix;
uniform mat4 viewProjMatrix;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoords;

// Matches geometryShader.vert, whose stored depth the lit pass tests against: both declare
// gl_Position invariant and compute it by the same expression from the same values.
invariant gl_Position;

void main() {
    vec4 world = modelMatrix * vec4(aPos, 1.0);
    worldPosition = world.xyz;
    // The terrain is scaled unevenly, so normals need the inverse transpose.
    worldNormal = transpose(inverse(mat3(modelMatrix))) * aNormal;
    texCoords = aTexCoords;
    gl_Position = viewProjMatrix * (modelMatrix * vec4(aPos, 1.0));
}
