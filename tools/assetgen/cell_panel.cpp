// Greedy merging of solid cells into rectangles, and the reveal faces around removed cells.
#include "cell_panel.hpp"

#include "noise.hpp"

#include <algorithm>
#include <cmath>

bool CellPanel::isSolid(int col, int row) const {
    if (col < 0 || row < 0 || col >= columns() || row >= rows())
        return false;
    return solid[size_t(row) * columns() + col] != 0;
}

namespace {

void sortUnique(std::vector<float>& cuts, float lo, float hi) {
    for (float& c : cuts)
        c = std::clamp(c, lo, hi);
    cuts.push_back(lo);
    cuts.push_back(hi);
    std::sort(cuts.begin(), cuts.end());
    std::vector<float> out;
    for (float c : cuts)
        if (out.empty() || c - out.back() > 0.02f)
            out.push_back(c);
    out.back() = hi;
    cuts = out;
}

// Adds a quad and flips its winding when needed so it faces `n`.
void addFacing(MeshData& m, glm::vec3 (&p)[4], glm::vec2 (&uv)[4], const glm::vec3& n, int chart) {
    if (glm::dot(glm::cross(p[1] - p[0], p[2] - p[0]), n) < 0.0f) {
        std::swap(p[1], p[3]);
        std::swap(uv[1], uv[3]);
    }
    m.addQuad(p, n, uv, chart);
}

} // namespace

void cutPanel(CellPanel& panel, const std::vector<PanelRect>& holes, const std::vector<float>& extraVCuts) {
    panel.uCuts.clear();
    panel.vCuts = extraVCuts;
    for (const PanelRect& r : holes) {
        panel.uCuts.push_back(r.u0);
        panel.uCuts.push_back(r.u1);
        panel.vCuts.push_back(r.v0);
        panel.vCuts.push_back(r.v1);
    }
    sortUnique(panel.uCuts, 0.0f, panel.width);
    sortUnique(panel.vCuts, 0.0f, panel.height);
    panel.solid.assign(size_t(panel.columns()) * panel.rows(), 1);
    for (int r = 0; r < panel.rows(); ++r)
        for (int c = 0; c < panel.columns(); ++c) {
            const float u = 0.5f * (panel.uCuts[c] + panel.uCuts[c + 1]);
            const float v = 0.5f * (panel.vCuts[r] + panel.vCuts[r + 1]);
            for (const PanelRect& h : holes)
                if (u > h.u0 && u < h.u1 && v > h.v0 && v < h.v1)
                    panel.solid[size_t(r) * panel.columns() + c] = 0;
        }
}

void addRaggedHole(std::vector<PanelRect>& holes, const PanelRect& r, float step, float depth,
                   uint32_t seed) {
    holes.push_back(r);
    Rng rng(seed);
    for (float u = r.u0; u < r.u1 - 0.01f; u += step) {
        const float w = std::min(step * rng.range(0.6f, 1.4f), r.u1 - u);
        holes.push_back({u, r.v1 - 0.01f, u + w, r.v1 + depth * rng.unit()});
        holes.push_back({u, r.v0 - depth * rng.unit(), u + w, r.v0 + 0.01f});
    }
    for (float v = r.v0; v < r.v1 - 0.01f; v += step) {
        const float h = std::min(step * rng.range(0.6f, 1.4f), r.v1 - v);
        holes.push_back({r.u0 - depth * rng.unit(), v, r.u0 + 0.01f, v + h});
        holes.push_back({r.u1 - 0.01f, v, r.u1 + depth * rng.unit(), v + h});
    }
}

void emitPanelFaces(const CellPanel& panel, bool back, float vFrom, float vTo, MeshData& mesh, int chart,
                    float tile) {
    const int cols = panel.columns(), rows = panel.rows();
    std::vector<unsigned char> used(size_t(cols) * rows, 0);
    auto free = [&](int c, int r) { return panel.isSolid(c, r) && !used[size_t(r) * cols + c]; };
    auto rowInRange = [&](int r) {
        const float v = 0.5f * (panel.vCuts[r] + panel.vCuts[r + 1]);
        return v >= vFrom && v < vTo;
    };
    const glm::vec3 n = back ? -panel.normal() : panel.normal();
    const float depth = back ? panel.thickness : 0.0f;
    for (int r = 0; r < rows; ++r) {
        if (!rowInRange(r))
            continue;
        for (int c = 0; c < cols; ++c) {
            if (!free(c, r))
                continue;
            int c1 = c + 1;
            while (c1 < cols && free(c1, r))
                ++c1;
            int r1 = r + 1;
            while (r1 < rows && rowInRange(r1)) {
                bool all = true;
                for (int k = c; k < c1 && all; ++k)
                    all = free(k, r1);
                if (!all)
                    break;
                ++r1;
            }
            for (int rr = r; rr < r1; ++rr)
                for (int k = c; k < c1; ++k)
                    used[size_t(rr) * cols + k] = 1;
            const float u0 = panel.uCuts[c], u1 = panel.uCuts[c1], v0 = panel.vCuts[r], v1 = panel.vCuts[r1];
            glm::vec3 p[4] = {panel.point(u0, v0, depth), panel.point(u1, v0, depth),
                              panel.point(u1, v1, depth), panel.point(u0, v1, depth)};
            glm::vec2 uv[4];
            const float us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
            for (int k = 0; k < 4; ++k) {
                // Seen from behind the panel the u direction reverses; mirror it so textures read right.
                const float su = back ? panel.width - us[k] : us[k];
                if (chart >= 0)
                    uv[k] = {su, vTo - vs[k]};
                else
                    uv[k] = {su / tile, -vs[k] / tile};
            }
            addFacing(mesh, p, uv, n, chart);
        }
    }
}

void emitPanelEdges(const CellPanel& panel, const PanelOutline& outline, MeshData& mesh, float tile) {
    const int cols = panel.columns(), rows = panel.rows();
    const float t = panel.thickness;
    // Lines of constant u: faces pointing along +u or -u.
    for (int i = 0; i <= cols; ++i) {
        for (int dir = -1; dir <= 1; dir += 2) {
            // dir +1: solid cell at i-1, open at i (face looks towards +u).
            int r = 0;
            while (r < rows) {
                auto wants = [&](int row) {
                    const bool inside = panel.isSolid(dir > 0 ? i - 1 : i, row);
                    const int other = dir > 0 ? i : i - 1;
                    const bool openSide = other < 0 || other >= cols
                                              ? (dir > 0 ? outline.uEnd : outline.uStart)
                                              : !panel.isSolid(other, row);
                    return inside && openSide;
                };
                if (!wants(r)) {
                    ++r;
                    continue;
                }
                int r1 = r + 1;
                while (r1 < rows && wants(r1))
                    ++r1;
                const float u = panel.uCuts[i], v0 = panel.vCuts[r], v1 = panel.vCuts[r1];
                glm::vec3 p[4] = {panel.point(u, v0, 0), panel.point(u, v1, 0), panel.point(u, v1, t),
                                  panel.point(u, v0, t)};
                glm::vec2 uv[4] = {
                    {0, -v0 / tile}, {0, -v1 / tile}, {t / tile, -v1 / tile}, {t / tile, -v0 / tile}};
                addFacing(mesh, p, uv, float(dir) * panel.uAxis, -1);
                r = r1;
            }
        }
    }
    // Lines of constant v: faces pointing along +v or -v.
    for (int j = 0; j <= rows; ++j) {
        for (int dir = -1; dir <= 1; dir += 2) {
            int c = 0;
            while (c < cols) {
                auto wants = [&](int col) {
                    const bool inside = panel.isSolid(col, dir > 0 ? j - 1 : j);
                    const int other = dir > 0 ? j : j - 1;
                    const bool openSide = other < 0 || other >= rows
                                              ? (dir > 0 ? outline.vEnd : outline.vStart)
                                              : !panel.isSolid(col, other);
                    return inside && openSide;
                };
                if (!wants(c)) {
                    ++c;
                    continue;
                }
                int c1 = c + 1;
                while (c1 < cols && wants(c1))
                    ++c1;
                const float v = panel.vCuts[j], u0 = panel.uCuts[c], u1 = panel.uCuts[c1];
                glm::vec3 p[4] = {panel.point(u0, v, 0), panel.point(u1, v, 0), panel.point(u1, v, t),
                                  panel.point(u0, v, t)};
                glm::vec2 uv[4] = {
                    {u0 / tile, 0}, {u1 / tile, 0}, {u1 / tile, t / tile}, {u0 / tile, t / tile}};
                addFacing(mesh, p, uv, float(dir) * panel.vAxis, -1);
                c = c1;
            }
        }
    }
}

int addPanelChart(AtlasMesh& atlas, const CellPanel& panel, bool back, float vFrom, float vTo, int material) {
    const glm::vec3 n = back ? -panel.normal() : panel.normal();
    const float depth = back ? panel.thickness : 0.0f;
    const CellPanel p = panel;
    return atlas.addChart(
        panel.width, vTo - vFrom,
        [p, back, vTo, n, depth](float s, float t) {
            const float u = back ? p.width - s : s;
            return SurfacePoint{p.point(u, vTo - t, depth), n, {s, t}};
        },
        material);
}
