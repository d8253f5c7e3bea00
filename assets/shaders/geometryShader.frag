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

// 1 lit, 0 shadowed, soft over a 3 x 3 texel footprint.
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
    // Normal offset grows with the slope so that the 3 x 3 footprint never reaches into the surface
    // itself (acne); the small constant depth bias keeps contact shadows attached (no peter-panning).
    vec3 probePos = worldPosition + normal * texel * (0.5 + 1.5 * sinTheta);
    vec4 lightSpace = lightSpaceMatrix * vec4(probePos, 1.0);
    vec3 projected = lightSpace.xyz / lightSpace.w * 0.5 + 0.5;
    // Beyond the far plane nothing was drawn into the map.
    if (projected.z > 1.0)
        return 1.0;
    float depthBias = texel * 0.5 / LIGHT_DEPTH_RANGE;
    vec2 texelUv = 1.0 / vec2(textureSize(shadowMap, 0));
    float lit = 0.0;
    for (int y = -1; y <= 1; ++y)
        for (int x = -1; x <= 1; ++x) {
            float stored = texture(shadowMap, projected.xy + vec2(x, y) * texelUv).r;
            lit += projected.z - depthBias <= stored ? 1.0 : 0.0;
        }
    return lit / 9.0;
}

void main() {
    vec3 normal = normalize(worldNormal);
    gNormal = vec4(normalize(viewNormal), 1.0);
    gPosition = vec4(viewPosition, 1.0);
    float shadow = shadowTerm(normal);
    gShadow = vec4(shadow, shadow, shadow, 1.0);
}
