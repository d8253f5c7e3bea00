#version 430 core
// Carries a smoke particle (position in the emitter's space, remaining life in w) into view space; the
// geometry stage builds its sprite there.

layout(location = 0) in vec4 particle;

uniform mat4 ModelViewMatrix;

out float vertexLife;
out float vertexHeight;

void main() {
    gl_Position = ModelViewMatrix * vec4(particle.xyz, 1.0);
    vertexLife = particle.w;
    vertexHeight = particle.y;
}
