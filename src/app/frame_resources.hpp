// What the frame's passes read besides the scene itself, made once at start-up after the scene:
// the render targets, the occlusion kernel and noise, the shadow light's matrix, the draw lists in
// their fixed orders, the light set handed to every lit program and the character's placements.
#pragma once

#include "app/scene.hpp"
#include "app/settings.hpp"
#include "model/character_script.hpp"
#include "render/light_set.hpp"
#include "render/lit_groups.hpp"
#include "render/render_targets.hpp"

#include <glad/gl.h>
#include <glm/glm.hpp>

#include <array>
#include <vector>

struct FrameResources {
    RenderTargets targets;
    std::vector<glm::vec3> ssaoKernel;
    GLuint noiseTexture = 0;
    glm::mat4 lightSpaceMatrix{1.0f};
    // Static objects in the order the shadow and geometry passes draw them.
    std::vector<SceneObject> shadowObjects;
    // The lit pass's four material groups, in its own order.
    std::vector<LitGroup> litGroups;
    // Three point lights and the one directional light; the point colours follow the flicker.
    LightSet lights;
    CharacterScript characterScript;
    // Where the emitters stand, in the emitters' order.
    std::vector<glm::mat4> emitterPlacements;
};

// The scene's lights as every lit program receives them, with the point lights at their start colours.
LightSet sceneLightSet(const SceneLights& lights);

// The static objects with their matrices in the shadow and geometry draw order: building,
// background, cars A-C, trees 1-6, terrain, window.
std::vector<SceneObject> shadowDrawOrder(const Scene& scene);

// The lit pass's groups: building, trees and terrain; window; cars; background.
std::vector<LitGroup> litDrawGroups(const Scene& scene);

// Creates the render targets (then the shadow target), the occlusion kernel and noise texture, and
// the light-space matrix, in that order, and lays out the draw lists. Needs a current GL context.
FrameResources createFrameResources(const Scene& scene, const Settings& settings);

// The flickering colours of this frame into the light set.
void setPointColors(LightSet& lights, const std::array<glm::vec3, 3>& pointColors);
