#version 430 core
// Geometry-buffer pass, static objects. The outputs are the same as those of
// skinning_phong_shader.vert, since geometryShader.frag serves both.

layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoords;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;

out vec3 worldPosition;
out vec3 worldNormal;
out vec3 viewPosition;
out vec3 viewNormal;
out vec2 texCoords;

void main() {
    // The lit pass tests its fragments for equality against this pass's depth, so the clip position
    // must come out bit for bit as there: the same products in the same order, never fused
    // ("precise"), with projection * view formed exactly as the application forms viewProjMatrix.
    precise vec4 world = model * vec4(aPos, 1.0);
    precise mat4 viewProj = projection * view;
    precise vec4 clip = viewProj * world;
    // The terrain is scaled unevenly, so normals need the inverse transpose.
    worldNormal = transpose(inverse(mat3(model))) * aNormal;
    worldPosition = world.xyz;
    vec4 viewSpace = view * world;
    viewPosition = viewSpace.xyz;
    // The camera's view matrix is a rotation and a translation only.
    viewNormal = mat3(view) * worldNormal;
    texCoords = aTexCoords;
    gl_Position = clip;
}
