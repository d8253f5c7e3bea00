// Bakes lightmaps from the placed scene with Embree ray queries: ambient occlusion and sky light, the
// moon with its shadows, the three street lamps and the fires, each shadowed by the scene geometry.
#pragma once

#include "atlas.hpp"
#include "image.hpp"

#include <embree3/rtcore.h>

#include <vector>

struct BakeLight {
    glm::vec3 position;
    glm::vec3 color;
    float constant, linear, quadratic; // attenuation 1 / (constant + linear d + quadratic d^2)
    float clearance;                   // shadow rays stop this far short of the light (its own fixture)
};

struct BakeSettings {
    int aoRays = 36;         // cosine-distributed rays per texel
    float aoDistance = 3.0f; // occluders further away than this do not darken
    glm::vec3 skyColor{0.10f, 0.12f, 0.20f};
    glm::vec3 moonDirection{0, -1, 0};
    glm::vec3 moonColor{0.8f, 0.6f, 0.6f};
    std::vector<BakeLight> lights;
    float exposure = 1.0f;
};

// Owns the Embree device and the scene of every placed triangle.
struct BakeScene {
    RTCDevice device = nullptr;
    RTCScene scene = nullptr;
    size_t triangles = 0;

    BakeScene();
    ~BakeScene();
    BakeScene(const BakeScene&) = delete;
    BakeScene& operator=(const BakeScene&) = delete;
    // Adds a mesh whose authored coordinates map to world space through `toWorld`.
    void add(const MeshData& mesh, const glm::mat4& toWorld);
    void commit();
    bool occluded(const glm::vec3& origin, const glm::vec3& dir, float tfar) const;
    // Distance to the first hit, or a negative value when nothing is hit within tfar.
    float hitDistance(const glm::vec3& origin, const glm::vec3& dir, float tfar) const;
};

// Returns the lightmap image (lightmapSize square) of an atlas mesh whose charts give world positions.
Image bakeLightmap(const BakeScene& scene, const AtlasMesh& atlas, const BakeSettings& settings,
                   uint32_t seed);
