#version 430 core
// Lit pass, static objects: a night scene lit by flickering street lamps (the point lights) and cold
// moonlight (the directional light), with baked light from the mesh's second texture, screen-space
// occlusion and the shadow term the geometry pass stored.
//
// Texture unit 1 ("specular") always holds baked light that is added to the surface: a lightmap on
// lightmapped meshes, and an all-black RGB image ("no baked light") on every other mesh, so that each
// mesh carries exactly two textures and nothing stale from an earlier mesh can reach unit 1.

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoords;

layout(location = 0) out vec4 fragColor;

// The scene's three street lamps; each is shaded by its own call with a constant index, since
// llvmpipe indexes uniform arrays slowly.
const int MAX_POINT_LIGHTS = 3;
uniform int numpointlights;
uniform int numdirectlights;
uniform vec3 lightColor[MAX_POINT_LIGHTS];
uniform vec3 lightPos[MAX_POINT_LIGHTS];
uniform float constant[MAX_POINT_LIGHTS];
uniform float linear[MAX_POINT_LIGHTS];
uniform float quadratic[MAX_POINT_LIGHTS];
uniform vec3 lightDirect;
uniform vec3 directLightColor;

uniform vec3 viewPos;
uniform float alpha;
uniform float ambientStrength;
uniform float diffuseStrength;
uniform float specularStrength;
uniform float gamma;
uniform int gammaEnabled;
uniform int ambientOcclusionEnabled;
uniform int isReflective;

uniform sampler2D diffuse;
uniform sampler2D specular;
uniform sampler2D ssao;
uniform sampler2D shadowMap;

// --- night lighting: identical in basic_lighting_Phong.frag and skinning_phong_shader.frag ---
// Light values are linear. Sky light that reaches everything, tinted towards blue; lightmapped
// surfaces add their baked sky light (with its own occlusion) on top, so this stays low enough for
// interiors to read dark.
const vec3 NIGHT_AMBIENT = vec3(0.13, 0.15, 0.25);
// The moon's colour arrives warm; moonlight reads cold, so it is tinted towards blue.
const vec3 MOON_TINT = vec3(0.55, 0.72, 1.15);
const float MOON_INTENSITY = 0.75;
// Sodium-warm street lamps: with the scene's attenuation (0.2, 0.02, 0.1) the street 5.7 units below
// a lamp gets 0.28 of LAMP_INTENSITY. The lamp heads shine down: sideways they give a fifth of that,
// so the light pools on the street instead of flooding the walls and posts around it.
const vec3 LAMP_TINT = vec3(1.0, 0.82, 0.55);
const float LAMP_INTENSITY = 24.0;
const float LAMP_SIDEWAYS = 0.2;
// Lamp light fades out completely by this distance, so it does not shine through the building's
// walls onto the floors and walls inside (the lamps cast no shadows).
const float LAMP_RANGE = 13.0;
// Colours of the fake night sky that reflective surfaces mirror.
const vec3 SKY_HORIZON = vec3(0.05, 0.06, 0.10);
const vec3 SKY_ZENITH = vec3(0.16, 0.20, 0.32);

// The lit pass also compiles out, where a draw group cannot use them, the moonlight (NO_MOONLIGHT:
// the group receives no directional light) and the reflective materials' code (MATTE: the group's
// material is not reflective); either way every pixel keeps its value.
#ifdef MATTE
#define REFLECTIVE false
#else
#define REFLECTIVE (isReflective == 1)
#endif

// Display gamma 2 (the usual setting) squares and takes square roots, far cheaper than pow on llvmpipe.
// llvmpipe works out both sides of a choice, so a program built with GAMMA_TWO defined, for use only
// while gamma correction is on at gamma 2, has no pow at all.
#ifdef GAMMA_TWO
vec3 toLinear(vec3 color) { return color * color; }
vec3 toDisplay(vec3 color) { return sqrt(color); }
#else
vec3 toLinear(vec3 color) {
    if (gammaEnabled != 1)
        return color;
    return gamma == 2.0 ? color * color : pow(color, vec3(gamma));
}
vec3 toDisplay(vec3 color) {
    if (gammaEnabled != 1)
        return color;
    return gamma == 2.0 ? sqrt(color) : pow(color, vec3(1.0 / gamma));
}
#endif

// Blinn-Phong highlight: exponent 96 on reflective materials (car paint, glass), 16 on the matte
// rest, by repeated squaring, which costs far less than pow on llvmpipe.
float highlight(float cosine) {
    float x2 = cosine * cosine;
    float x4 = x2 * x2;
    float x8 = x4 * x4;
    float x16 = x8 * x8;
    float x32 = x16 * x16;
    return REFLECTIVE ? x32 * x32 * x32 : x16;
}

// One light's share: diffuse from the albedo plus a highlight that is strong on reflective
// materials and faint on the matte rest.
vec3 lightShare(vec3 albedo, vec3 normal, vec3 toViewer, vec3 toLight) {
    float diffuseTerm = max(dot(normal, toLight), 0.0);
    float gloss = REFLECTIVE ? 2.5 : 0.25;
    vec3 halfway = normalize(toLight + toViewer);
    float specularTerm = diffuseTerm > 0.0 ? highlight(max(dot(normal, halfway), 0.0)) : 0.0;
    return diffuseStrength * diffuseTerm * albedo + vec3(specularStrength * gloss * specularTerm);
}

// Street lamp i (lit only when i < numpointlights), fading out by LAMP_RANGE and shining mostly down.
vec3 lampLight(int i, vec3 albedo, vec3 normal, vec3 toViewer) {
    vec3 offset = lightPos[i] - worldPosition;
    float distance = length(offset);
    float attenuation = 1.0 / max(constant[i] + linear[i] * distance + quadratic[i] * distance * distance, 1e-3);
    float fade = min(distance / LAMP_RANGE, 1.0);
    fade *= fade;
    fade = 1.0 - fade * fade;
    vec3 toLamp = offset / max(distance, 1e-4);
    float beam = mix(LAMP_SIDEWAYS, 1.0, smoothstep(0.2, 0.9, toLamp.y));
    float present = i < numpointlights ? 1.0 : 0.0;
    return present * LAMP_INTENSITY * attenuation * fade * fade * beam * LAMP_TINT * lightColor[i] *
           lightShare(albedo, normal, toViewer, toLamp);
}

// The lit pass compiles out the lamps that cannot reach a draw (bit i of LAMP_MASK is lamp i; all
// three by default): their light is exactly zero there, yet llvmpipe would work it out per fragment.
#ifndef LAMP_MASK
#define LAMP_MASK 7
#endif
#if (LAMP_MASK & 1) != 0
#define LAMP_0 lampLight(0, albedo, normal, toViewer)
#else
#define LAMP_0 vec3(0.0)
#endif
#if (LAMP_MASK & 2) != 0
#define LAMP_1 lampLight(1, albedo, normal, toViewer)
#else
#define LAMP_1 vec3(0.0)
#endif
#if (LAMP_MASK & 4) != 0
#define LAMP_2 lampLight(2, albedo, normal, toViewer)
#else
#define LAMP_2 vec3(0.0)
#endif

// `shadow` dims the moonlight only; `occlusion`, squared, dims every light, so that creases and
// contacts read under the lamps and the moon as well as in the dark.
vec3 shadeNight(vec3 albedo, vec3 baked, vec3 normal, float shadow, float occlusion) {
    vec3 toViewer = normalize(viewPos - worldPosition);
    occlusion *= occlusion;
    vec3 color = (ambientStrength * NIGHT_AMBIENT + baked) * albedo * occlusion;
#ifndef NO_MOONLIGHT
    if (numdirectlights > 0)
        color += shadow * occlusion * MOON_INTENSITY * MOON_TINT * directLightColor *
                 lightShare(albedo, normal, toViewer, normalize(-lightDirect));
#endif
    color += occlusion * (LAMP_0 + LAMP_1 + LAMP_2);
    if (REFLECTIVE) {
        // Reflective materials mirror the night sky, most at grazing angles (Schlick's Fresnel);
        // "alpha" is the strongest share the reflection may take.
        vec3 mirrored = reflect(-toViewer, normal);
        vec3 sky = mix(SKY_HORIZON, SKY_ZENITH, clamp(mirrored.y, 0.0, 1.0));
        float cosine = 1.0 - max(dot(normal, toViewer), 0.0);
        float cosine2 = cosine * cosine;
        float fresnel = 0.04 + 0.96 * cosine2 * cosine2 * cosine;
        color = mix(color, color + sky, alpha * fresnel);
    }
    return color;
}
// --- end of night lighting ---

// A program built with NO_BAKED_LIGHT defined draws only meshes whose unit 1 holds the all-black
// image: their baked light is exactly zero, and the lookup is left out.
//
// Lightmap texels hold baked irradiance E encoded as sqrt(E / (1 + E)) (the generator's encoding:
// dark interiors keep their detail in 8 bits, bright glow does not clip); this recovers E, and black
// ("no baked light") stays 0. The encoding is the data's own, independent of the display gamma.
vec3 decodeBakedLight(vec3 texel) {
    vec3 compressed = min(texel * texel, vec3(0.995));
    return compressed / (1.0 - compressed);
}

void main() {
    // Both screen-sized inputs are sampled nearest at this pixel's centre: the very texel a fetch
    // by integer coordinates would read, at less cost on llvmpipe.
    vec2 screenUv = gl_FragCoord.xy / vec2(textureSize(ssao, 0));
    float occlusion = ambientOcclusionEnabled == 1 ? texture(ssao, screenUv).r : 1.0;
    float shadow = texture(shadowMap, screenUv).r;
    vec3 albedo = toLinear(texture(diffuse, texCoords).rgb);
#ifdef NO_BAKED_LIGHT
    vec3 baked = vec3(0.0);
#else
    vec3 baked = decodeBakedLight(texture(specular, texCoords).rgb);
#endif
    vec3 normal = normalize(worldNormal);
    fragColor = vec4(toDisplay(shadeNight(albedo, baked, normal, shadow, occlusion)), 1.0);
}
