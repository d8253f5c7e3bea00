#version 430 core
// Blur pass: averages the raw occlusion over a 4 x 4 block, exactly one noise tile, so every pixel
// gathers all 32 kernel samples and the tile's rotation pattern cancels out. The block is read as
// four 2 x 2 gathers, a quarter of the fetches of sixteen single reads.

in vec2 texCoords;

layout(location = 0) out float blurred;

uniform sampler2D ssaoInput;

void main() {
    vec2 size = vec2(textureSize(ssaoInput, 0));
    // Each gather point lies on the corner shared by four texels: the block spans the texels from
    // two left of and below this pixel to one right of and above it. Clamping keeps the screen
    // edges from wrapping around to the opposite edge.
    vec2 low = clamp(gl_FragCoord.xy - 1.5, vec2(1.0), size - 1.0) / size;
    vec2 high = clamp(gl_FragCoord.xy + 0.5, vec2(1.0), size - 1.0) / size;
    vec4 sum = textureGather(ssaoInput, low) + textureGather(ssaoInput, vec2(high.x, low.y)) +
               textureGather(ssaoInput, vec2(low.x, high.y)) + textureGather(ssaoInput, high);
    blurred = dot(sum, vec4(1.0 / 16.0));
}
