// The static objects as the passes draw them, and the lit pass's four material groups: which
// objects, in which order, with which material strengths and how many of the scene's lights.
#pragma once

#include "render/light_set.hpp"

#include <glm/glm.hpp>

#include <vector>

struct Model;

// One drawn placement of a model; a null model is skipped.
struct SceneObject {
    const Model* model = nullptr;
    glm::mat4 matrix{1.0f};
    // False for an object that only lit groups without a directional light draw: the lit pass then
    // never reads the shadow term the geometry pass stores for it (see markShadowTermReaders).
    bool shadowTermRead = true;
};

// One material group of the lit pass and how many of the scene's lights it receives.
struct LitGroup {
    std::vector<SceneObject> objects;
    MaterialParams material;
    int pointCount = 0;
    int directionalCount = 0;
};

// Sets shadowTermRead of each object: true when some group with a directional light (the moon, which
// the shadow term dims) holds an object with the same model, or when no group holds it at all.
void markShadowTermReaders(std::vector<SceneObject>& objects, const std::vector<LitGroup>& groups);

// The lit pass's groups in drawing order: building, trees and terrain (all lights); the window
// (reflective); the cars (reflective, moonlight only); the background (brighter ambient, lamps only).
std::vector<LitGroup> buildLitGroups(const SceneObject& building, const std::vector<SceneObject>& trees,
                                     const SceneObject& terrain, const SceneObject& window,
                                     const std::vector<SceneObject>& cars, const SceneObject& background);
