#version 430 core
// Occlusion pass: how much of each pixel's normal-oriented hemisphere is blocked, from the view-space
// positions and normals of the geometry buffer. The 32-sample kernel is interleaved over the 4 x 4
// noise tile: each pixel tests SAMPLES_PER_PIXEL samples chosen by its place in the tile, and the
// 4 x 4 blur that follows gathers all of them, which looks like the full kernel after the blur at a
// fraction of the cost.

in vec2 texCoords;

layout(location = 0) out float occlusion;

uniform sampler2D gPosition;
uniform sampler2D gNormal;
uniform sampler2D texNoise;
uniform vec3 samples[32];
uniform mat4 projection;

const int KERNEL_SIZE = 32;
const int SAMPLES_PER_PIXEL = 2;
// World units; the kernel reaches at most 0.31 of the radius and 0.1 on average, so creases darken
// over about a unit.
const float RADIUS = 8.0;
// Occluders more than this far in front of a pixel are other objects, not its crease: their weight
// falls off, so near objects leave no dark halo on the background behind them.
const float RANGE = 2.0;

void main() {
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    // Sampled nearest at the pixel's centre: the texel a fetch by integer coordinates would read, at
    // less cost on llvmpipe.
    vec2 screenUv = gl_FragCoord.xy / vec2(textureSize(gPosition, 0));
    vec3 fragPos = texture(gPosition, screenUv).xyz;
    // Pixels no object covered keep the white clear (1, 1, 1): behind the camera, nothing to occlude.
    if (fragPos.z >= 0.0) {
        occlusion = 1.0;
        return;
    }
    vec3 normal = normalize(texture(gNormal, screenUv).xyz);

    // The tile's sides are powers of two (4 x 4), so a mask finds the cell: llvmpipe has no vector
    // integer division and would divide lane by lane.
    ivec2 tileSize = textureSize(texNoise, 0);
    ivec2 cell = pixel & (tileSize - 1);
    vec3 randomVec = texelFetch(texNoise, cell, 0).xyz;
    vec3 tangent = randomVec - normal * dot(randomVec, normal);
    // A noise vector along the normal (or of zero length) gives no tangent; any perpendicular will do.
    if (dot(tangent, tangent) < 1e-6)
        tangent = abs(normal.x) < 0.9 ? cross(normal, vec3(1.0, 0.0, 0.0)) : cross(normal, vec3(0.0, 1.0, 0.0));
    tangent = normalize(tangent);
    mat3 tbn = mat3(tangent, cross(normal, tangent), normal);

    // Half-float positions lose precision with distance; the bias grows with it to avoid self-occlusion.
    float bias = max(0.03, -fragPos.z * 0.004);
    int tile = cell.x + cell.y * tileSize.x;
    float blocked = 0.0;
    for (int k = 0; k < SAMPLES_PER_PIXEL; ++k) {
        int index = (tile * SAMPLES_PER_PIXEL + k) & (KERNEL_SIZE - 1);
        vec3 samplePos = fragPos + tbn * samples[index] * RADIUS;
        // The projection is a symmetric perspective one (x and y scaled, w = -z): its other terms are
        // zeros, whose products would add nothing to any of these sums, so only the two scales are
        // multiplied. The result is the full product's, bit for bit.
        vec2 clipXy = vec2(projection[0][0] * samplePos.x, projection[1][1] * samplePos.y);
        vec2 sampleUv = clipXy / -samplePos.z * 0.5 + 0.5;
        float sampleDepth = texture(gPosition, sampleUv).z;
        // Empty pixels (z = 1) and surfaces far in front of this one do not occlude it.
        float rangeCheck = smoothstep(0.0, 1.0, RANGE / abs(fragPos.z - sampleDepth));
        if (sampleDepth < 0.0 && sampleDepth >= samplePos.z + bias)
            blocked += rangeCheck;
    }
    occlusion = 1.0 - blocked / float(SAMPLES_PER_PIXEL);
}
