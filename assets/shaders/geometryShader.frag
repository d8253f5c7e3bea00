#version 430 core
// Geometry-buffer pass (static objects and the character): view-space normal to attachment 1 and
// position to attachment 4 for the occlusion pass, the shadow term to attachment 5 for the lit pass.
// Only the variant built with STORE_MATERIAL defined, which the albedo and baked-light buffer views
// use, also stores the diffuse texture in attachment 0 and the baked light in attachment 2; otherwise
// those two, like attachment 3, are read by no pass and are left untouched, so the lit picture pays
// nothing for them (a uniform switch would not do: llvmpipe would fetch both textures regardless). The vertex shaders do the
// per-vertex part of the shadow lookup, so that this stays short: llvmpipe runs every line of it for
// every fragment, branches included.

in vec3 worldPosition;
in vec3 worldNormal;
in vec3 viewPosition;
in vec3 viewNormal;
in vec2 texCoords;
in vec3 lightSpacePosition;

layout(location = 0) out vec4 gAlbedo;
layout(location = 1) out vec4 gNormal;
layout(location = 2) out vec4 gBakedLight;
layout(location = 4) out vec4 gPosition;
layout(location = 5) out vec4 gShadow;

uniform sampler2D shadowMap;
uniform mat4 lightSpaceMatrix;
uniform vec3 lightPos;
// The mesh's two textures: the diffuse colour on unit 0, the lightmap (or black) on unit 1.
uniform sampler2D diffuse;
uniform sampler2D bakedLight;

// Width of the light's orthographic box and its depth range (near 1, far 120), in world units.
const float LIGHT_BOX_WIDTH = 180.0;
const float LIGHT_DEPTH_RANGE = 119.0;

// 1 lit, 0 shadowed, filtered over the 2 x 2 texels around the lookup.
#ifdef SHADOW_TERM_UNREAD
// Built with SHADOW_TERM_UNREAD defined, the program draws only objects that the lit pass lights
// without the moon (the sky): the term dims nothing there, so none is worked out. The shadow-term view
// draws them with the full program.
float shadowTerm() { return 1.0; }
#else
float shadowTerm() {
    // The skinned program never receives a light-space matrix: its all-zero default means there is
    // no shadow map to consult, and the character counts as lit.
    if (lightSpaceMatrix[3][3] == 0.0)
        return 1.0;
    // The light looks at the origin through an orthographic box, so its rays all run along lightPos.
    // Faces turned from the light lie behind their own front faces anyway; deciding it here keeps
    // acne off the terminator. The sign needs no normalised normal.
    if (dot(worldNormal, lightPos) <= 0.0)
        return 0.0;
    // Beyond the far plane nothing was drawn into the map.
    if (lightSpacePosition.z > 1.0)
        return 1.0;
    vec2 mapSize = vec2(textureSize(shadowMap, 0));
    float depthBias = LIGHT_BOX_WIDTH / mapSize.x * 0.5 / LIGHT_DEPTH_RANGE;
    // Bilinear-weighted comparison of the 2 x 2 texels around the probe, read in one gather.
    vec2 texelPos = lightSpacePosition.xy * mapSize - 0.5;
    vec2 weight = fract(texelPos);
    vec4 stored = textureGather(shadowMap, (floor(texelPos) + 1.0) / mapSize);
    vec4 lit = step(vec4(lightSpacePosition.z - depthBias), stored);
    return mix(mix(lit.w, lit.z, weight.x), mix(lit.x, lit.y, weight.x), weight.y);
}
#endif

void main() {
    // The occlusion pass normalises the normal it reads; half floats keep its direction as well.
    gNormal = vec4(viewNormal, 1.0);
    gPosition = vec4(viewPosition, 1.0);
    float shadow = shadowTerm();
    gShadow = vec4(shadow, shadow, shadow, 1.0);
#ifdef STORE_MATERIAL
    {
        gAlbedo = texture(diffuse, texCoords);
        // Lightmap texels hold sqrt(E / (1 + E)); this stores the irradiance E. The character
        // (recognised as in shadowTerm) carries no lightmap, whatever unit 1 holds during its draw.
        vec3 texel = texture(bakedLight, texCoords).rgb;
        vec3 compressed = min(texel * texel, vec3(0.995));
        vec3 baked = lightSpaceMatrix[3][3] == 0.0 ? vec3(0.0) : compressed / (1.0 - compressed);
        gBakedLight = vec4(baked, 1.0);
    }
#endif
}
