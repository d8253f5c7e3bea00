// Primitive shapes and bookkeeping for generated meshes.
#include "mesh_data.hpp"

#include <glm/gtc/constants.hpp>

#include <cmath>

uint32_t MeshData::addVertex(const glm::vec3& p, const glm::vec3& n, const glm::vec2& uv, int chart) {
    positions.push_back(p);
    normals.push_back(n);
    uvs.push_back(uv);
    if (chart >= 0 || !charts.empty()) {
        charts.resize(positions.size() - 1, -1);
        charts.push_back(chart);
    }
    return static_cast<uint32_t>(positions.size() - 1);
}

void MeshData::addTriangle(uint32_t a, uint32_t b, uint32_t c) {
    indices.push_back(a);
    indices.push_back(b);
    indices.push_back(c);
}

void MeshData::addQuad(const glm::vec3 (&p)[4], const glm::vec3& n, const glm::vec2 (&uv)[4], int chart) {
    const uint32_t a = addVertex(p[0], n, uv[0], chart);
    const uint32_t b = addVertex(p[1], n, uv[1], chart);
    const uint32_t c = addVertex(p[2], n, uv[2], chart);
    const uint32_t d = addVertex(p[3], n, uv[3], chart);
    addTriangle(a, b, c);
    addTriangle(a, c, d);
}

MeshData& ModelData::mesh(const std::string& name, const std::string& material) {
    for (MeshData& m : meshes)
        if (m.name == name)
            return m;
    meshes.push_back(MeshData{});
    meshes.back().name = name;
    meshes.back().material = material;
    return meshes.back();
}

size_t ModelData::triangleCount() const {
    size_t n = 0;
    for (const MeshData& m : meshes)
        n += m.triangleCount();
    return n;
}

void addOrientedBox(MeshData& m, const glm::vec3& c, const glm::vec3& ax, const glm::vec3& ay,
                    const glm::vec3& az, float tile) {
    const glm::vec3 axes[3] = {ax, ay, az};
    for (int a = 0; a < 3; ++a) {
        const glm::vec3 n = axes[a];
        const glm::vec3 u = axes[(a + 1) % 3];
        const glm::vec3 v = axes[(a + 2) % 3];
        const float lu = 2.0f * glm::length(u) / tile;
        const float lv = 2.0f * glm::length(v) / tile;
        for (int s = -1; s <= 1; s += 2) {
            const glm::vec3 fc = c + float(s) * n;
            const glm::vec3 uu = float(s) * u; // flip one axis on the negative side to stay counter-clockwise
            const glm::vec3 p[4] = {fc - uu - v, fc + uu - v, fc + uu + v, fc - uu + v};
            const glm::vec2 uv[4] = {{0, lv}, {lu, lv}, {lu, 0}, {0, 0}};
            m.addQuad(p, glm::normalize(float(s) * n), uv);
        }
    }
}

void addBox(MeshData& m, const glm::vec3& lo, const glm::vec3& hi, float tile, bool withBottom) {
    const glm::vec3 c = 0.5f * (lo + hi);
    const glm::vec3 h = 0.5f * (hi - lo);
    if (withBottom) {
        addOrientedBox(m, c, {h.x, 0, 0}, {0, h.y, 0}, {0, 0, h.z}, tile);
        return;
    }
    // Without the bottom face: build the five visible faces explicitly (boxes standing on the ground).
    MeshData tmp;
    addOrientedBox(tmp, c, {h.x, 0, 0}, {0, h.y, 0}, {0, 0, h.z}, tile);
    for (size_t q = 0; q < tmp.indices.size() / 6; ++q) {
        const uint32_t base = tmp.indices[q * 6];
        if (tmp.normals[base].y < -0.5f)
            continue;
        glm::vec3 p[4];
        glm::vec2 uv[4];
        for (int k = 0; k < 4; ++k) {
            p[k] = tmp.positions[base + k];
            uv[k] = tmp.uvs[base + k];
        }
        m.addQuad(p, tmp.normals[base], uv);
    }
}

void addTube(MeshData& m, const std::vector<glm::vec3>& pts, const std::vector<float>& radii, int sides,
             float uRepeat, float vTile, bool capEnd) {
    const size_t n = pts.size();
    if (n < 2)
        return;
    // Parallel-transported frame so the tube does not twist along bends.
    glm::vec3 dir0 = glm::normalize(pts[1] - pts[0]);
    glm::vec3 ref = std::fabs(dir0.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    glm::vec3 side = glm::normalize(glm::cross(dir0, ref));
    float along = 0.0f;
    std::vector<uint32_t> rings;
    for (size_t i = 0; i < n; ++i) {
        glm::vec3 dir;
        if (i == 0)
            dir = dir0;
        else if (i == n - 1)
            dir = glm::normalize(pts[i] - pts[i - 1]);
        else
            dir = glm::normalize(glm::normalize(pts[i] - pts[i - 1]) + glm::normalize(pts[i + 1] - pts[i]));
        side = glm::normalize(side - dir * glm::dot(side, dir));
        const glm::vec3 up = glm::cross(dir, side);
        if (i > 0)
            along += glm::length(pts[i] - pts[i - 1]);
        const uint32_t first = static_cast<uint32_t>(m.positions.size());
        rings.push_back(first);
        for (int s = 0; s <= sides; ++s) {
            const float a = glm::two_pi<float>() * float(s) / float(sides);
            const glm::vec3 nrm = std::cos(a) * side + std::sin(a) * up;
            m.addVertex(pts[i] + radii[i] * nrm, nrm, {uRepeat * float(s) / float(sides), along / vTile});
        }
    }
    for (size_t i = 0; i + 1 < n; ++i) {
        for (int s = 0; s < sides; ++s) {
            const uint32_t a = rings[i] + s, b = rings[i] + s + 1;
            const uint32_t c = rings[i + 1] + s + 1, d = rings[i + 1] + s;
            m.addTriangle(a, b, c);
            m.addTriangle(a, c, d);
        }
    }
    if (capEnd && radii[n - 1] > 0.0f) {
        const glm::vec3 dir = glm::normalize(pts[n - 1] - pts[n - 2]);
        const uint32_t centre = m.addVertex(pts[n - 1], dir, {0.5f * uRepeat, along / vTile});
        const uint32_t first = static_cast<uint32_t>(m.positions.size());
        for (int s = 0; s <= sides; ++s) {
            const uint32_t src = rings[n - 1] + s;
            m.addVertex(m.positions[src], dir, m.uvs[src]);
        }
        for (int s = 0; s < sides; ++s)
            m.addTriangle(centre, first + s, first + s + 1);
    }
}

void addDisc(MeshData& m, const glm::vec3& centre, const glm::vec3& normal, float radius, int sides) {
    const glm::vec3 n = glm::normalize(normal);
    const glm::vec3 ref = std::fabs(n.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    const glm::vec3 u = glm::normalize(glm::cross(ref, n));
    const glm::vec3 v = glm::cross(n, u);
    const uint32_t c = m.addVertex(centre, n, {0.5f, 0.5f});
    const uint32_t first = static_cast<uint32_t>(m.positions.size());
    for (int s = 0; s <= sides; ++s) {
        const float a = glm::two_pi<float>() * float(s) / float(sides);
        const float ca = std::cos(a), sa = std::sin(a);
        m.addVertex(centre + radius * (ca * u + sa * v), n, {0.5f + 0.5f * ca, 0.5f - 0.5f * sa});
    }
    for (int s = 0; s < sides; ++s)
        m.addTriangle(c, first + s, first + s + 1);
}

void transformMesh(MeshData& m, const glm::mat4& t) {
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(t)));
    for (glm::vec3& p : m.positions)
        p = glm::vec3(t * glm::vec4(p, 1.0f));
    for (glm::vec3& n : m.normals)
        n = glm::normalize(normalMatrix * n);
}
