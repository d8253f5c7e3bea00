// Ray-traced preview pictures of the generated scene: lightmapped meshes show their albedo times the
// baked light, the others a simple moon-and-lamps Phong term with a shadow ray for the moon.
#pragma once

#include "preview_scene.hpp"

#include <string>

struct PreviewView {
    glm::vec3 position, target;
    std::string name;
};

enum class PreviewMode { Lit, Albedo, Light };

// Renders one view into a PNG (width x height); returns false when the file cannot be written.
bool renderPreview(const PreviewScene& scene, const PreviewView& view, int width, int height,
                   PreviewMode mode, const std::string& pngPath);
