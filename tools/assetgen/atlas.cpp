// Shelf packing of charts and the mapping between atlas texels and chart surfaces.
#include "atlas.hpp"

#include <algorithm>
#include <cmath>
#include <stb_rect_pack.h>

int AtlasMesh::addChart(float width, float height, std::function<SurfacePoint(float, float)> surface,
                        int material) {
    Chart c;
    c.width = width;
    c.height = height;
    c.surface = std::move(surface);
    c.material = material;
    charts.push_back(std::move(c));
    return int(charts.size()) - 1;
}

int AtlasMesh::addPlanarChart(const glm::vec3& origin, const glm::vec3& uAxis, const glm::vec3& vAxis,
                              float width, float height, int material) {
    const glm::vec3 n = glm::normalize(glm::cross(uAxis, vAxis));
    return addChart(
        width, height,
        [=](float s, float t) {
            return SurfacePoint{origin + s * uAxis + t * vAxis, n, {s, t}};
        },
        material);
}

glm::vec2 Chart::toAtlas(const glm::vec2& local) const {
    const glm::vec2 f(local.x / width, local.y / height);
    return rotated ? glm::vec2(float(x) + f.y * float(w), float(y) + f.x * float(h))
                   : glm::vec2(float(x) + f.x * float(w), float(y) + f.y * float(h));
}

glm::vec2 Chart::toLocal(const glm::vec2& a) const {
    const glm::vec2 f((a.x - float(x)) / float(w), (a.y - float(y)) / float(h));
    return rotated ? glm::vec2(f.y * width, f.x * height) : glm::vec2(f.x * width, f.y * height);
}

namespace {

// Places charts with stb_rect_pack's skyline packer (deterministic for the same input); false if they
// do not all fit.
bool tryPack(std::vector<Chart>& charts, int size, float density) {
    std::vector<stbrp_rect> rects(charts.size());
    for (size_t i = 0; i < charts.size(); ++i) {
        Chart& c = charts[i];
        c.rotated = c.height > c.width;
        c.w = std::max(1, int(std::ceil((c.rotated ? c.height : c.width) * density)));
        c.h = std::max(1, int(std::ceil((c.rotated ? c.width : c.height) * density)));
        rects[i].id = int(i);
        rects[i].w = c.w + 2 * kAtlasGutter;
        rects[i].h = c.h + 2 * kAtlasGutter;
        if (rects[i].w > size || rects[i].h > size)
            return false;
    }
    std::vector<stbrp_node> nodes(size_t(size) * 2);
    stbrp_context context;
    stbrp_init_target(&context, size, size, nodes.data(), int(nodes.size()));
    if (!stbrp_pack_rects(&context, rects.data(), int(rects.size())))
        return false;
    for (const stbrp_rect& r : rects) {
        charts[r.id].x = r.x + kAtlasGutter;
        charts[r.id].y = r.y + kAtlasGutter;
    }
    return true;
}

} // namespace

float layoutAtlas(AtlasMesh& atlas) {
    float area = 0.0f;
    for (const Chart& c : atlas.charts)
        area += c.width * c.height;
    if (area <= 0.0f)
        return 0.0f;
    float lo = 0.0f, hi = 2.0f * float(atlas.lightmapSize) / std::sqrt(area);
    for (int it = 0; it < 40; ++it) {
        const float mid = 0.5f * (lo + hi);
        if (tryPack(atlas.charts, atlas.lightmapSize, mid))
            lo = mid;
        else
            hi = mid;
    }
    if (lo <= 0.0f || !tryPack(atlas.charts, atlas.lightmapSize, lo))
        return 0.0f;
    const float size = float(atlas.lightmapSize);
    MeshData& m = atlas.mesh;
    for (size_t v = 0; v < m.uvs.size(); ++v) {
        m.uvs[v] = atlas.charts[m.charts[v]].toAtlas(m.uvs[v]) / size;
    }
    return lo;
}

std::vector<int> atlasOwnerMap(const AtlasMesh& atlas) {
    const int n = atlas.lightmapSize;
    std::vector<int> owner(size_t(n) * n, -1);
    for (size_t i = 0; i < atlas.charts.size(); ++i) {
        const Chart& c = atlas.charts[i];
        for (int y = c.y - kAtlasGutter; y < c.y + c.h + kAtlasGutter; ++y)
            for (int x = c.x - kAtlasGutter; x < c.x + c.w + kAtlasGutter; ++x)
                if (x >= 0 && y >= 0 && x < n && y < n)
                    owner[size_t(y) * n + x] = int(i);
    }
    return owner;
}

int atlasTexelToChart(const AtlasMesh& atlas, const std::vector<int>& owner, float lx, float ly, float margin,
                      glm::vec2& local) {
    const int n = atlas.lightmapSize;
    const int ix = std::clamp(int(lx), 0, n - 1), iy = std::clamp(int(ly), 0, n - 1);
    const int id = owner[size_t(iy) * n + ix];
    if (id < 0)
        return -1;
    const Chart& c = atlas.charts[id];
    // Stay `margin` texels inside the chart so gutter texels repeat the chart's own edge.
    const float mx = std::min(margin, 0.5f * float(c.w)), my = std::min(margin, 0.5f * float(c.h));
    const glm::vec2 a(std::clamp(lx, float(c.x) + mx, float(c.x + c.w) - mx),
                      std::clamp(ly, float(c.y) + my, float(c.y + c.h) - my));
    local = c.toLocal(a);
    return id;
}

void addAtlasQuad(AtlasMesh& atlas, const glm::vec3& origin, const glm::vec3& uAxis, const glm::vec3& vAxis,
                  float w, float h, int material) {
    const int chart = atlas.addPlanarChart(origin, uAxis, vAxis, w, h, material);
    const glm::vec3 n = glm::normalize(glm::cross(uAxis, vAxis));
    const glm::vec3 p[4] = {origin, origin + w * uAxis, origin + w * uAxis + h * vAxis, origin + h * vAxis};
    const glm::vec2 uv[4] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    atlas.mesh.addQuad(p, n, uv, chart);
}

void addAtlasBox(AtlasMesh& atlas, const glm::vec3& lo, const glm::vec3& hi, int material,
                 unsigned faceMask) {
    const glm::vec3 c = 0.5f * (lo + hi), half = 0.5f * (hi - lo);
    const glm::vec3 normals[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int f = 0; f < 6; ++f) {
        if (!(faceMask & (1u << f)))
            continue;
        const glm::vec3 n = normals[f];
        glm::vec3 u, v;
        if (std::fabs(n.y) < 0.5f) {
            u = glm::cross(n, glm::vec3(0, 1, 0));
            v = {0, -1, 0};
        } else {
            u = {1, 0, 0};
            v = glm::cross(n, u);
        }
        const float w = 2.0f * std::fabs(glm::dot(half, u)), h = 2.0f * std::fabs(glm::dot(half, v));
        const glm::vec3 origin = c + n * std::fabs(glm::dot(half, n)) - u * (0.5f * w) - v * (0.5f * h);
        addAtlasQuad(atlas, origin, u, v, w, h, material);
    }
}

Image paintAtlasDiffuse(const AtlasMesh& atlas) {
    const int scale = atlas.diffuseScale, size = atlas.lightmapSize * scale;
    const std::vector<int> owner = atlasOwnerMap(atlas);
    Image img(size, size, glm::vec3(0.2f));
    std::vector<unsigned char> painted(size_t(size) * size, 0);
    parallelRows(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            glm::vec2 local;
            const float lx = (float(x) + 0.5f) / float(scale), ly = (float(y) + 0.5f) / float(scale);
            const int id = atlasTexelToChart(atlas, owner, lx, ly, 0.5f / float(scale), local);
            if (id < 0)
                continue;
            const Chart& c = atlas.charts[id];
            img.at(x, y) = atlas.painter(c.surface(local.x, local.y), c);
            painted[size_t(y) * size + x] = 1;
        }
    });
    // Texels between charts take the mean of what was painted, so coarse mipmap levels stay in tone.
    glm::dvec3 sum(0.0);
    size_t count = 0;
    for (size_t i = 0; i < painted.size(); ++i)
        if (painted[i]) {
            sum += glm::dvec3(img.pixels[i]);
            ++count;
        }
    const glm::vec3 mean = count ? glm::vec3(sum / double(count)) : glm::vec3(0.2f);
    for (size_t i = 0; i < painted.size(); ++i)
        if (!painted[i])
            img.pixels[i] = mean;
    return img;
}
