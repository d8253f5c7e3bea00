#version 430 core
// Geometry-buffer pass (static objects and the character): view-space normal to attachment 1 and
// position to attachment 4 for the occlusion pass, the shadow term to attachment 5 for the lit pass.
// Attachments 0, 2 and 3 are read by no pass and are left untouched.

in vec3 worldPosition;
in vec3 worldNormal;
in vec3 viewPosition;
in vec3 viewNormal;
in vec2 texCoords;

layout(location = 1) out vec4 gNormal;
layout(location = 4) out vec4 gPosition;
layout(location = 5) out vec4 gShadow;

uniform sampler2D shadowMap;
uniform mat4 lightSpaceMatrix;
uniform vec3 lightPos;

// Width of the light's orthographic box and its depth range (near 1, far 120), in world units.
const float LIGHT_BOX_WIDTH = 180.0;
const float LIGHT_DEPTH_RANGE = 119.0;

// 1 lit, 0 shadowed, filtered over the 2 x 2 texels around the lookup.
float shadowTerm(vec3 normal) {
    // The skinned program never receives a light-space matrix: its all-zero default means there is
    // no shadow map to consult, and the character counts as lit.
    if (lightSpaceMatrix[3][3] == 0.0)
        return 1.0;
    // The light looks at the origin through an orthographic box, so its rays all run along lightPos.
    vec3 toLight = normalize(lightPos);
    float cosTheta = dot(normal, toLight);
    // Faces turned from the light lie behind their own front faces anyway; deciding it here keeps
    // acne off the terminator.
    if (cosTheta <= 0.0)
        return 0.0;
    float texel = LIGHT_BOX_WIDTH / float(textureSize(shadowMap, 0).x);
    float sinTheta = sqrt(max(1.0 - cosTheta * cosTheta, 0.0));
    // The normal offset lifts the lookup by (0.5 + 1.5 sin) / cos texels along the light, at least
    // twice the surface's own depth change across the filter footprint at any slope, so lit surfaces
    // never shadow themselves (acne); it stays a few hundredths of a unit, and with the small constant
    // bias contact shadows stay attached to their casters (no peter-panning).
    vec3 probePos = worldPosition + normal * texel * (0.5 + 1.5 * sinTheta);
    vec4 lightSpace = lightSpaceMatrix * vec4(probePos, 1.0);
    vec3 projected = lightSpace.xyz / lightSpace.w * 0.5 + 0.5;
    // Beyond the far plane nothing was drawn into the map.
    if (projected.z > 1.0)
        return 1.0;
    float depthBias = texel * 0.5 / LIGHT_DEPTH_RANGE;
    // Bilinear-weighted comparison of the 2 x 2 texels around the probe, read in one gather.
    vec2 mapSize = vec2(textureSize(shadowMap, 0));
    vec2 texelPos = projected.xy * mapSize - 0.5;
    vec2 weight = fract(texelPos);
    vec4 stored = textureGather(shadowMap, (floor(texelPos) + 1.0) / mapSize);
    vec4 lit = step(vec4(projected.z - depthBias), stored);
    return mix(mix(lit.w, lit.z, weight.x), mix(lit.x, lit.y, weight.x), weight.y);
}

void main() {
    vec3 normal = normalize(worldNormal);
    gNormal = vec4(normalize(viewNormal), 1.0);
    gPosition = vec4(viewPosition, 1.0);
    float shadow = shadowTerm(normal);
    gShadow = vec4(shadow, shadow, shadow, 1.0);
}
