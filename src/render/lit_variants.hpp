// Variants of the static lit program with the lights and materials a draw cannot use compiled out:
// on llvmpipe every fragment pays for every light in the shader, lit or not, and for both sides of
// every branch.
#pragma once

#include "model/mesh.hpp"
#include "render/light_set.hpp"
#include "render/shader_program.hpp"

#include <glm/glm.hpp>

#include <array>
#include <string>

// The lamps' light fades to exactly zero at this distance (LAMP_RANGE of the lit shaders).
constexpr float kLampRange = 13.0f;
// The static lit shader holds three lamps.
constexpr int kLitLampCount = 3;
// A variant's key: bit i (below kLitLampCount) for lamp i, then the moonlight, the reflective
// materials' code, the gamma code for any setting (without it, gamma 2 is built in) and the baked
// light's lookup (without it, the baked light is zero). The key with every bit is the full program.
constexpr int kAllLamps = (1 << kLitLampCount) - 1;
constexpr int kMoonlightBit = 1 << kLitLampCount;
constexpr int kReflectiveBit = kMoonlightBit << 1;
constexpr int kAnyGammaBit = kReflectiveBit << 1;
constexpr int kBakedLightBit = kAnyGammaBit << 1;
constexpr int kFullLitProgram = kAllLamps | kMoonlightBit | kReflectiveBit | kAnyGammaBit | kBakedLightBit;

struct LitVariants {
    std::string shaderFolder;
    // programs[key] is basic_lighting_Phong built for that key, made when a draw first needs it; the
    // full program's key is never built here.
    std::array<ShaderProgram, kFullLitProgram + 1> programs{};
    std::array<bool, kFullLitProgram + 1> built{};
};

// Remembers the shaders folder (e.g. "../assets/shaders/"); builds nothing yet.
LitVariants createLitVariants(const std::string& shaderFolder);

// The lamps among the first lights.pointCount (at most kLitLampCount) that can light some point of
// the box [boxMin, boxMax] placed by worldFromLocal, one bit each. A lamp is left out only when the
// box lies beyond its range with a margin, so that leaving it out changes no pixel.
int lampsReaching(const glm::vec3& boxMin, const glm::vec3& boxMax, const glm::mat4& worldFromLocal,
                  const LightSet& lights);

// lampsReaching for the mesh's box placed by worldFromLocal, then, for the lamps it finds, the same
// test against each of the mesh's partBounds: a lamp is kept if it can reach one of them. Inside a
// hollow mesh, such as the sky dome around the whole scene, the one box holds every lamp while none
// reaches a triangle.
int lampsReachingMesh(const Mesh& mesh, const glm::mat4& worldFromLocal, const LightSet& lights);

// Whether the mesh's second texture, the baked light on unit 1, may hold light: false only when it
// is known to be all black ("no baked light"). A mesh with fewer than two textures leaves unit 1 as
// it was, which may be anything.
bool meshHasBakedLight(const Mesh& mesh);

// The key of the variant for a draw of a group with `lights` and `material` whose box the lamps of
// `lamps` reach: the moonlight only if the group receives a directional light, the reflective code
// only for a reflective material, the gamma code for any setting unless gamma correction is on at
// exactly 2, the baked light's lookup only for a mesh that has baked light.
int litVariantKey(int lamps, const LightSet& lights, const MaterialParams& material, float gamma,
                  bool gammaEnabled, bool bakedLight);

// The program to draw with for `key`: the full program for the full key, otherwise the variant
// (built now if need be); the full program too when it or the variant failed to build.
const ShaderProgram& litProgramFor(LitVariants& variants, const ShaderProgram& fullProgram, int key);
