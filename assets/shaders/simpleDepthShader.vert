#version 430 core
// Shadow pass, static objects: depth of each vertex as the shadow light sees it.

layout(location = 0) in vec3 aPos;

uniform mat4 lightSpaceMatrix;
uniform mat4 model;

void main() { gl_Position = lightSpaceMatrix * model * vec4(aPos, 1.0); }
