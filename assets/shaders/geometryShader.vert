#version 430 core
// Geometry-buffer pass, static objects. The outputs are the same as those of
// skinning_phong_shader.vert, since geometryShader.frag serves both.

layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoords;

uniform mat4 model;
uniform mat4 view;
// The application still sets "projection", but the clip position comes from projection * view as
// the application forms it, the very matrix the lit programs receive.
uniform mat4 viewProjMatrix;
uniform mat4 lightSpaceMatrix;
uniform vec3 lightPos;
uniform sampler2D shadowMap;

out vec3 worldPosition;
out vec3 worldNormal;
out vec3 viewPosition;
out vec3 viewNormal;
out vec2 texCoords;
out vec3 lightSpacePosition;

// The lit pass reuses this pass's depth and keeps a fragment only where its depth is not farther
// than the stored one. basic_lighting_Phong.vert declares gl_Position invariant too and computes it
// with the same expression from the same uniform and attribute values, which GLSL guarantees gives
// the same position, so the same depth, on every conforming implementation.
invariant gl_Position;

// Width of the light's orthographic box, in world units.
const float LIGHT_BOX_WIDTH = 180.0;

// Where the fragment shader looks the shadow map up, in its [0, 1] texture and depth coordinates.
// The lookup is lifted off the surface along its normal by (0.5 + 1.5 sin) / cos texels along the
// light, at least twice the surface's own depth change across the 2 x 2 filter at any slope, so lit
// surfaces never shadow themselves (acne); it stays a few hundredths of a unit, and with the small
// constant bias of the comparison contact shadows stay attached to their casters (no
// peter-panning). Both the lift and the light's orthographic projection are linear across a
// triangle, so they are worked out here once per vertex.
vec3 shadowLookup(vec3 world, vec3 normal) {
    vec3 unitNormal = normalize(normal);
    float cosTheta = max(dot(unitNormal, normalize(lightPos)), 0.0);
    float sinTheta = sqrt(1.0 - cosTheta * cosTheta);
    float texel = LIGHT_BOX_WIDTH / float(textureSize(shadowMap, 0).x);
    vec4 lightSpace = lightSpaceMatrix * vec4(world + unitNormal * texel * (0.5 + 1.5 * sinTheta), 1.0);
    return lightSpace.xyz / lightSpace.w * 0.5 + 0.5;
}

void main() {
    vec4 world = model * vec4(aPos, 1.0);
    // The terrain is scaled unevenly, so normals need the inverse transpose.
    worldNormal = transpose(inverse(mat3(model))) * aNormal;
    worldPosition = world.xyz;
    vec4 viewSpace = view * world;
    viewPosition = viewSpace.xyz;
    // The camera's view matrix is a rotation and a translation only.
    viewNormal = mat3(view) * worldNormal;
    texCoords = aTexCoords;
    lightSpacePosition = shadowLookup(world.xyz, worldNormal);
    gl_Position = viewProjMatrix * (model * vec4(aPos, 1.0));
}
