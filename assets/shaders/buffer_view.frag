#version 430 core
// Buffer views: one intermediate buffer (texture unit 0) over the whole window in place of the lit
// picture, mapped to colours a viewer can read. "mode" says which buffer it is; the numbers follow
// the viewer's key order (1 albedo ... 9 the shadow map; the lit picture never comes here).

in vec2 texCoords;

layout(location = 0) out vec4 fragColor;

uniform sampler2D source;
uniform int mode;
// Window width / height: the square shadow map is shown square, with black bars beside or above it.
uniform float aspect;

const int ALBEDO = 1;
const int NORMALS = 2;
const int POSITIONS = 3;
const int BAKED_LIGHT = 4;
const int SHADOW_TERM = 5;
const int RAW_OCCLUSION = 6;
const int BLURRED_OCCLUSION = 7;
const int DEPTH = 8;
const int SHADOW_MAP = 9;

// View-space positions within this many units of the camera span the colour range; the scene's
// street is a few tens of units long.
const float POSITION_RANGE = 40.0;
// The camera's near and far planes, and the distance that the depth view shows as white: the far
// plane lies so far out that linear depth over the whole range would leave the scene nearly black.
const float NEAR = 0.1;
const float FAR = 250.0;
const float DEPTH_SHOWN = 100.0;

void main() {
    if (mode == SHADOW_MAP) {
        vec2 stretch = aspect >= 1.0 ? vec2(aspect, 1.0) : vec2(1.0, 1.0 / aspect);
        vec2 uv = (texCoords - 0.5) * stretch + 0.5;
        bool inside = all(greaterThanEqual(uv, vec2(0.0))) && all(lessThanEqual(uv, vec2(1.0)));
        fragColor = inside ? vec4(vec3(texture(source, uv).r), 1.0) : vec4(0.0, 0.0, 0.0, 1.0);
        return;
    }
    vec4 texel = texture(source, texCoords);
    vec3 color = texel.rgb;
    if (mode == NORMALS) {
        // The stored normals keep the length the terrain's uneven scale gives them; the direction
        // is what the view is for. Empty pixels (no normal at all) stay mid-grey.
        float len = length(texel.xyz);
        color = (len > 1e-6 ? texel.xyz / len : texel.xyz) * 0.5 + 0.5;
    } else if (mode == POSITIONS) {
        // x and y around the view axis, z (negative in front of the camera) as blue.
        color = vec3(texel.xy / (2.0 * POSITION_RANGE) + 0.5, -texel.z / POSITION_RANGE);
    } else if (mode == BAKED_LIGHT) {
        // Irradiance E of any size, shown as sqrt(E / (1 + E)), the lightmaps' own encoding.
        color = sqrt(texel.rgb / (1.0 + texel.rgb));
    } else if (mode == SHADOW_TERM || mode == RAW_OCCLUSION || mode == BLURRED_OCCLUSION) {
        color = vec3(texel.r);
    } else if (mode == DEPTH) {
        float ndc = texel.r * 2.0 - 1.0;
        float linear = 2.0 * NEAR * FAR / (FAR + NEAR - ndc * (FAR - NEAR));
        color = vec3(linear / DEPTH_SHOWN);
    }
    fragColor = vec4(clamp(color, 0.0, 1.0), 1.0);
}
