#version 430 core
// Final pass: shows the off-screen scene colour (texture unit 0) unchanged; gamma was applied when
// the scene was lit.

in vec2 texCoords;

layout(location = 0) out vec4 fragColor;

uniform sampler2D screenTexture;

void main() { fragColor = vec4(texture(screenTexture, texCoords).rgb, 1.0); }
