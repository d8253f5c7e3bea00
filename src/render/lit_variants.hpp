// Variants of the static lit program with the street lamps that cannot reach a draw compiled out:
// on llvmpipe every fragment pays for every lamp in the shader, lit or not.
#pragma once

#include "render/light_set.hpp"
#include "render/shader_program.hpp"

#include <glm/glm.hpp>

#include <array>
#include <string>

// The lamps' light fades to exactly zero at this distance (LAMP_RANGE of the lit shaders).
constexpr float kLampRange = 13.0f;
// The static lit shader holds three lamps; a mask has one bit per lamp, bit i for lamp i.
constexpr int kLitLampCount = 3;
constexpr int kAllLamps = (1 << kLitLampCount) - 1;

struct LitVariants {
    std::string shaderFolder;
    // programs[mask] is basic_lighting_Phong built with LAMP_MASK = mask, made when a draw first
    // needs it; the mask of all lamps is the full program itself and is never built here.
    std::array<ShaderProgram, kAllLamps + 1> programs{};
    std::array<bool, kAllLamps + 1> built{};
};

// Remembers the shaders folder (e.g. "../assets/shaders/"); builds nothing yet.
LitVariants createLitVariants(const std::string& shaderFolder);

// The lamps among the first lights.pointCount (at most kLitLampCount) that can light some point of
// the box [boxMin, boxMax] placed by worldFromLocal. A lamp is left out only when the box lies
// beyond its range with a margin, so that leaving it out changes no pixel.
int lampsReaching(const glm::vec3& boxMin, const glm::vec3& boxMax, const glm::mat4& worldFromLocal,
                  const LightSet& lights);

// The program to draw with for the lamps of `mask`: the full program for all lamps, otherwise the
// variant (built now if need be); the full program too when it or the variant failed to build.
const ShaderProgram& litProgramFor(LitVariants& variants, const ShaderProgram& fullProgram, int mask);
