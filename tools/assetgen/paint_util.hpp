// Small colour and pattern helpers shared by the painters of the lightmapped surfaces.
#pragma once

#include "noise.hpp"

#include <glm/glm.hpp>

inline glm::vec3 mix3(const glm::vec3& a, const glm::vec3& b, float t) {
    return a + (b - a) * t;
}

// Rough concrete: tone, fine grain and pores, in world units.
glm::vec3 concreteAt(const glm::vec3& p, const glm::vec3& tint, uint32_t seed);
// Thin lines along cell borders (cracks); `scale` is the cell size in world units.
float cracksAt(float x, float y, float scale, float width, uint32_t seed);
// Soft blob mask from thresholded noise, for stains and patches.
float patchesAt(const glm::vec3& p, float scale, float threshold, float softness, uint32_t seed);
// Roughly vertical runs below a point, for water and rust streaks: `drop` is the distance below.
float streaksAt(float across, float drop, float length, uint32_t seed);
