#version 430 core
// Lit pass, static objects: a night scene lit by flickering street lamps (the point lights) and cold
// moonlight (the directional light), with baked light from the mesh's second texture, screen-space
// occlusion and the shadow term the geometry pass stored.
//
// Texture unit 1 ("specular") always holds baked light that is added to the surface: a lightmap on
// lightmapped meshes, and a black image on every other mesh, so that each mesh carries exactly two
// textures and nothing stale from an earlier mesh can reach unit 1.

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoords;

layout(location = 0) out vec4 fragColor;

// Small and constant so that the light loop unrolls (llvmpipe indexes uniform arrays slowly).
const int MAX_POINT_LIGHTS = 4;
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
// Sky light that reaches everything, tinted towards blue.
const vec3 NIGHT_AMBIENT = vec3(0.30, 0.34, 0.50);
const float MOON_INTENSITY = 0.6;
// Lamp pools: with the scene's attenuation (0.2, 0.02, 0.1) a lamp 5 units away gives 0.36 of this.
const float LAMP_INTENSITY = 4.0;
// Sharpens the occlusion term so that contacts read clearly at night.
const float OCCLUSION_POWER = 2.0;
// Colours of the fake night sky that reflective surfaces mirror.
const vec3 SKY_HORIZON = vec3(0.05, 0.06, 0.10);
const vec3 SKY_ZENITH = vec3(0.16, 0.20, 0.32);

vec3 toLinear(vec3 color) { return gammaEnabled == 1 ? pow(color, vec3(gamma)) : color; }
vec3 toDisplay(vec3 color) { return gammaEnabled == 1 ? pow(color, vec3(1.0 / gamma)) : color; }

// Blinn-Phong highlight: exponent 96 on reflective materials (car paint, glass), 16 on the matte
// rest, by repeated squaring, which costs far less than pow on llvmpipe.
float highlight(float cosine) {
    float x2 = cosine * cosine;
    float x4 = x2 * x2;
    float x8 = x4 * x4;
    float x16 = x8 * x8;
    float x32 = x16 * x16;
    return isReflective == 1 ? x32 * x32 * x32 : x16;
}

// One light's share: diffuse from the albedo plus a highlight that is strong on reflective
// materials and faint on the matte rest.
vec3 lightShare(vec3 albedo, vec3 normal, vec3 toViewer, vec3 toLight) {
    float diffuseTerm = max(dot(normal, toLight), 0.0);
    float gloss = isReflective == 1 ? 2.5 : 0.25;
    vec3 halfway = normalize(toLight + toViewer);
    float specularTerm = diffuseTerm > 0.0 ? highlight(max(dot(normal, halfway), 0.0)) : 0.0;
    return diffuseStrength * diffuseTerm * albedo + vec3(specularStrength * gloss * specularTerm);
}

// Everything in linear light. `shadow` dims the moonlight only; `occlusion` dims the sky and baked
// light fully and the moon and lamps by half, so creases and contacts also darken where lit.
vec3 shadeNight(vec3 albedo, vec3 baked, vec3 normal, float shadow, float occlusion) {
    vec3 toViewer = normalize(viewPos - worldPosition);
    occlusion = pow(occlusion, OCCLUSION_POWER);
    float directOcclusion = mix(1.0, occlusion, 0.5);
    vec3 color = (ambientStrength * NIGHT_AMBIENT * albedo + albedo * baked) * occlusion;
    if (numdirectlights > 0)
        color += shadow * directOcclusion * MOON_INTENSITY * directLightColor *
                 lightShare(albedo, normal, toViewer, normalize(-lightDirect));
    for (int i = 0; i < MAX_POINT_LIGHTS; ++i) {
        if (i >= numpointlights)
            break;
        vec3 offset = lightPos[i] - worldPosition;
        float distance = length(offset);
        float attenuation = 1.0 / max(constant[i] + linear[i] * distance + quadratic[i] * distance * distance, 1e-3);
        color += directOcclusion * LAMP_INTENSITY * attenuation * lightColor[i] *
                 lightShare(albedo, normal, toViewer, offset / max(distance, 1e-4));
    }
    if (isReflective == 1) {
        // Reflective materials mirror the night sky, most at grazing angles (Schlick's Fresnel);
        // "alpha" is the strongest share the reflection may take.
        vec3 mirrored = reflect(-toViewer, normal);
        vec3 sky = mix(SKY_HORIZON, SKY_ZENITH, clamp(mirrored.y, 0.0, 1.0));
        float fresnel = 0.04 + 0.96 * pow(1.0 - max(dot(normal, toViewer), 0.0), 5.0);
        color = mix(color, color + sky, alpha * fresnel);
    }
    return color;
}
// --- end of night lighting ---

void main() {
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    float occlusion = ambientOcclusionEnabled == 1 ? texelFetch(ssao, pixel, 0).r : 1.0;
    float shadow = texelFetch(shadowMap, pixel, 0).r;
    vec3 albedo = toLinear(texture(diffuse, texCoords).rgb);
    vec3 baked = toLinear(texture(specular, texCoords).rgb);
    vec3 normal = normalize(worldNormal);
    fragColor = vec4(toDisplay(shadeNight(albedo, baked, normal, shadow, occlusion)), 1.0);
}
