#version 430 core
// Occlusion and blur passes: a full-screen quad made from the vertex index alone (the bound vertex
// array is empty), with texture coordinates in [0, 1].

out vec2 texCoords;

const vec2 corners[6] = vec2[](vec2(-1.0, -1.0), vec2(1.0, -1.0), vec2(1.0, 1.0),
                               vec2(-1.0, -1.0), vec2(1.0, 1.0), vec2(-1.0, 1.0));

void main() {
    vec2 corner = corners[gl_VertexID];
    texCoords = corner * 0.5 + 0.5;
    gl_Position = vec4(corner, 0.0, 1.0);
}
