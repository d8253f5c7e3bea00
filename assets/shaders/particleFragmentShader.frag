#version 430 core
// Colours a smoke sprite from its layer of the sprite array (unit 0). Smoke is the sprite's grey, dimmed
// for the night; fire glows from yellow to red as it ages. col is added to either as a tint.

uniform sampler2DArray sprites;
uniform int fire;
uniform vec3 col;

in vec2 spriteCoord;
in float spriteAlpha;
in float spriteAge;
flat in float spriteLayer;

out vec4 fragColor;

// Each sprite covers only a little: the smoke's density comes from many overlapping particles.
const float smokeOpacity = 0.22;

void main() {
    vec4 texel = texture(sprites, vec3(spriteCoord, spriteLayer));
    float alpha = texel.a * spriteAlpha * smokeOpacity;
    vec3 tint = fire == 1 ? mix(vec3(1.0, 0.8, 0.35), vec3(0.8, 0.2, 0.05), spriteAge) * 2.0 : vec3(0.55);
    // Nearly clear texels leave the pixel exactly as it was: blended with alpha 0, it becomes source
    // times 0 plus destination times 1. A discard would do the same, but on llvmpipe a program that
    // may discard costs the whole particle pass about a fifth more.
    fragColor = vec4(texel.rgb * tint + col, alpha < 0.003 ? 0.0 : alpha);
}
