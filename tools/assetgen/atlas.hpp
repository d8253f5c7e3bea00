// Lightmap atlases: every lightmapped mesh is made of charts, flat or gently curved patches with their
// own 2D coordinates in world units. Charts are packed without overlap into one square atlas that both
// the mesh's diffuse texture (painted per texel from the surface point) and its lightmap share.
#pragma once

#include "image.hpp"
#include "mesh_data.hpp"

#include <functional>
#include <string>
#include <vector>

struct SurfacePoint {
    glm::vec3 position; // world units
    glm::vec3 normal;
    glm::vec2 local; // chart coordinates (world units)
};

struct Chart {
    float width = 0.0f, height = 0.0f; // extent of the chart coordinates
    std::function<SurfacePoint(float, float)> surface;
    int material = 0; // tells the mesh's painter which surface this is
    // Placement in lightmap texels (the interior; a gutter surrounds it). A rotated chart lies with its
    // s axis along the atlas's y axis, so long thin charts pack flat.
    int x = 0, y = 0, w = 0, h = 0;
    bool rotated = false;
    // Atlas position (lightmap texels) of chart coordinates, and back.
    glm::vec2 toAtlas(const glm::vec2& local) const;
    glm::vec2 toLocal(const glm::vec2& atlasTexel) const;
};

// Paints the albedo of one surface point.
using AlbedoPainter = std::function<glm::vec3(const SurfacePoint&, const Chart&)>;

struct AtlasMesh {
    MeshData mesh; // uvs hold chart coordinates until layoutAtlas runs
    std::vector<Chart> charts;
    int lightmapSize = 256;
    int diffuseScale = 4; // diffuse texture = lightmapSize * diffuseScale texels square
    std::string diffusePath;
    AlbedoPainter painter;

    int addChart(float width, float height, std::function<SurfacePoint(float, float)> surface, int material);
    // A flat chart spanning origin + s * uAxis + t * vAxis for s in [0, width], t in [0, height].
    int addPlanarChart(const glm::vec3& origin, const glm::vec3& uAxis, const glm::vec3& vAxis, float width,
                       float height, int material);
};

constexpr int kAtlasGutter = 2; // lightmap texels around each chart, so filtering never mixes charts

// Packs the charts (largest texel density that fits) and rewrites the mesh's uvs into atlas space.
// Returns the texel density (lightmap texels per world unit); 0 when the charts cannot fit.
float layoutAtlas(AtlasMesh& atlas);
// For a point (lx, ly) in lightmap texel units: the chart it belongs to (or -1) and its chart
// coordinates, kept `margin` texels inside the chart so gutter texels repeat the chart's edge.
int atlasTexelToChart(const AtlasMesh& atlas, const std::vector<int>& owner, float lx, float ly, float margin,
                      glm::vec2& local);
// Which chart owns each lightmap texel (interior and gutter), -1 for none.
std::vector<int> atlasOwnerMap(const AtlasMesh& atlas);

// A flat rectangle with its own chart: corners origin, +w*uAxis, +h*vAxis (unit axes); it faces
// cross(uAxis, vAxis) and its chart coordinates run along uAxis and vAxis.
void addAtlasQuad(AtlasMesh& atlas, const glm::vec3& origin, const glm::vec3& uAxis, const glm::vec3& vAxis,
                  float w, float h, int material);
// The faces of an axis-aligned box, each with its own chart. faceMask bits: 1 -x, 2 +x, 4 -y, 8 +y,
// 16 -z, 32 +z. Vertical faces have their chart's v pointing down, so painted streaks run downwards.
void addAtlasBox(AtlasMesh& atlas, const glm::vec3& lo, const glm::vec3& hi, int material, unsigned faceMask);

// Paints the mesh's diffuse texture (lightmapSize * diffuseScale square) with its painter.
Image paintAtlasDiffuse(const AtlasMesh& atlas);
