// Walls and floor slabs as thick panels cut into a grid of cells, some of them removed (windows,
// doors, blast holes, a collapsed roof). Solid cells are merged into few rectangles; the faces along
// removed cells become the reveals that show the panel's thickness.
#pragma once

#include "atlas.hpp"
#include "mesh_data.hpp"

#include <vector>

struct CellPanel {
    glm::vec3 origin{0.0f};
    glm::vec3 uAxis{1, 0, 0}, vAxis{0, 1, 0}; // unit axes; the front faces cross(uAxis, vAxis)
    float width = 1.0f, height = 1.0f;
    float thickness = 0.3f;           // the back face lies this far behind the front
    std::vector<float> uCuts, vCuts;  // sorted, starting at 0 and ending at width / height
    std::vector<unsigned char> solid; // one per cell, row-major with rows along v

    glm::vec3 normal() const { return glm::normalize(glm::cross(uAxis, vAxis)); }
    glm::vec3 point(float u, float v, float depth = 0.0f) const {
        return origin + u * uAxis + v * vAxis - depth * normal();
    }
    int columns() const { return int(uCuts.size()) - 1; }
    int rows() const { return int(vCuts.size()) - 1; }
    bool isSolid(int col, int row) const;
};

// A rectangle in panel coordinates, used to cut holes.
struct PanelRect {
    float u0, v0, u1, v1;
};

// Builds the cut lists from the panel extent and the hole rectangles, and marks every cell whose centre
// lies in a hole as removed.
void cutPanel(CellPanel& panel, const std::vector<PanelRect>& holes,
              const std::vector<float>& extraVCuts = {});
// A ragged hole: the rectangle plus random notches along its edges, `step` wide and up to `depth` deep.
void addRaggedHole(std::vector<PanelRect>& holes, const PanelRect& r, float step, float depth, uint32_t seed);

// Emits the front (or back) faces of the rows whose centre lies in [vFrom, vTo). With a chart, texture
// coordinates are chart coordinates (u across, v downwards from the panel top); otherwise they tile
// every `tile` units.
void emitPanelFaces(const CellPanel& panel, bool back, float vFrom, float vTo, MeshData& mesh, int chart,
                    float tile);
// Emits the faces across the panel's thickness wherever a solid cell borders a removed one; the panel's
// own outline only where asked (top edge of a parapet, ends of a free-standing wall).
struct PanelOutline {
    bool uStart = false, uEnd = false, vStart = false, vEnd = false;
};
void emitPanelEdges(const CellPanel& panel, const PanelOutline& outline, MeshData& mesh, float tile);
// Adds a planar chart covering the panel's front or back face.
int addPanelChart(AtlasMesh& atlas, const CellPanel& panel, bool back, float vFrom, float vTo, int material);
