#version 430 core
// Blur pass: averages the raw occlusion over a 4 x 4 block, exactly one noise tile, so every pixel
// gathers all 32 kernel samples and the tile's rotation pattern cancels out.

in vec2 texCoords;

layout(location = 0) out float blurred;

uniform sampler2D ssaoInput;

void main() {
    ivec2 size = textureSize(ssaoInput, 0);
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    float sum = 0.0;
    for (int y = -2; y < 2; ++y)
        for (int x = -2; x < 2; ++x)
            sum += texelFetch(ssaoInput, clamp(pixel + ivec2(x, y), ivec2(0), size - 1), 0).r;
    blurred = sum / 16.0;
}
