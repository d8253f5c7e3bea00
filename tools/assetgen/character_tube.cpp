// Tube sweeping: ring frames come from the path's local direction and a side reference, radii from the
// profile keys by arc length, normals from the finished grid so seams and bends shade smoothly.
#include "character_tube.hpp"

#include <glm/gtc/constants.hpp>

#include <algorithm>
#include <cmath>

namespace {

float smoothstep01(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

glm::vec2 atlasUv(const SkinRect& rect, float u, float v) {
    const float px = rect.x0 + (rect.x1 - rect.x0) * u;
    const float py = rect.y0 + (rect.y1 - rect.y0) * v;
    return {px / float(skinAtlas::size), 1.0f - py / float(skinAtlas::size)};
}

TubeProfileKey profileAt(const std::vector<TubeProfileKey>& keys, float dist) {
    if (dist <= keys.front().dist)
        return keys.front();
    for (size_t k = 1; k < keys.size(); ++k) {
        if (dist <= keys[k].dist) {
            const TubeProfileKey& a = keys[k - 1];
            const TubeProfileKey& b = keys[k];
            const float t = (dist - a.dist) / (b.dist - a.dist);
            return {dist, a.rSide + (b.rSide - a.rSide) * t, a.rFront + (b.rFront - a.rFront) * t,
                    a.offFront + (b.offFront - a.offFront) * t};
        }
    }
    return keys.back();
}

struct PathPoint {
    glm::vec3 pos;
    int segment;
};

PathPoint pointOnPath(const std::vector<glm::vec3>& path, const std::vector<float>& cumulative, float dist) {
    for (size_t s = 0; s + 1 < path.size(); ++s) {
        if (dist <= cumulative[s + 1] || s + 2 == path.size()) {
            const float len = cumulative[s + 1] - cumulative[s];
            const float t = len > 0.0f ? (dist - cumulative[s]) / len : 0.0f;
            return {path[s] + (path[s + 1] - path[s]) * t, int(s)};
        }
    }
    return {path.back(), int(path.size()) - 2};
}

std::vector<TubeInfluence> ringInfluences(const CharacterTube& tube, const std::vector<float>& cumulative,
                                          float dist, int segment) {
    std::vector<TubeInfluence> result{{tube.segmentJoints[segment], 1.0f}};
    for (size_t k = 1; k + 1 < tube.path.size(); ++k) {
        const int before = tube.segmentJoints[k - 1];
        const int after = tube.segmentJoints[k];
        const float d = dist - cumulative[k];
        if (before != after && std::fabs(d) < tube.bendBlend) {
            const float w = smoothstep01(-tube.bendBlend, tube.bendBlend, d);
            result = {{before, 1.0f - w}, {after, w}};
        }
    }
    if (tube.parentJoint >= 0 && dist < tube.parentReach) {
        const float share = tube.parentShare * (1.0f - smoothstep01(0.0f, tube.parentReach, dist));
        for (TubeInfluence& in : result)
            in.weight *= 1.0f - share;
        result.push_back({tube.parentJoint, share});
    }
    return result;
}

} // namespace

void setCharacterWeights(SkinnedVertex& vertex, std::vector<TubeInfluence> influences) {
    std::sort(influences.begin(), influences.end(), [](const TubeInfluence& a, const TubeInfluence& b) {
        return a.weight != b.weight ? a.weight > b.weight : a.joint < b.joint;
    });
    std::vector<TubeInfluence> merged;
    for (const TubeInfluence& in : influences) {
        auto same = std::find_if(merged.begin(), merged.end(),
                                 [&](const TubeInfluence& m) { return m.joint == in.joint; });
        if (same != merged.end())
            same->weight += in.weight;
        else if (in.weight > 0.01f)
            merged.push_back(in);
    }
    std::sort(merged.begin(), merged.end(), [](const TubeInfluence& a, const TubeInfluence& b) {
        return a.weight != b.weight ? a.weight > b.weight : a.joint < b.joint;
    });
    if (merged.size() > 4)
        merged.resize(4);
    float sum = 0.0f;
    for (const TubeInfluence& m : merged)
        sum += m.weight;
    for (int k = 0; k < 4; ++k) {
        vertex.joints[k] = k < int(merged.size()) ? merged[k].joint : 0;
        vertex.weights[k] = k < int(merged.size()) ? merged[k].weight / sum : 0.0f;
    }
}

void addCharacterTube(CharacterMesh& mesh, const CharacterTube& tube) {
    std::vector<float> cumulative{0.0f};
    for (size_t s = 0; s + 1 < tube.path.size(); ++s)
        cumulative.push_back(cumulative.back() + glm::length(tube.path[s + 1] - tube.path[s]));
    const float length = cumulative.back();
    const int rings = tube.rings;
    const int segs = tube.segments;
    const float step = length / float(rings - 1);

    std::vector<glm::vec3> grid(size_t(rings) * segs);
    std::vector<glm::vec3> tangents(rings);
    std::vector<glm::vec3> centers(rings);
    std::vector<std::vector<TubeInfluence>> influences(rings);
    for (int i = 0; i < rings; ++i) {
        const float dist = step * float(i);
        const PathPoint here = pointOnPath(tube.path, cumulative, dist);
        const glm::vec3 ahead = pointOnPath(tube.path, cumulative, std::min(length, dist + step)).pos;
        const glm::vec3 behind = pointOnPath(tube.path, cumulative, std::max(0.0f, dist - step)).pos;
        const glm::vec3 tangent = glm::normalize(ahead - behind);
        const glm::vec3 side = glm::normalize(tube.sideRef - glm::dot(tube.sideRef, tangent) * tangent);
        const glm::vec3 front = glm::cross(side, tangent);
        const TubeProfileKey p = profileAt(tube.profile, dist);
        const glm::vec3 center = here.pos + front * p.offFront;
        for (int j = 0; j < segs; ++j) {
            const float a = glm::two_pi<float>() * float(j) / float(segs);
            grid[size_t(i) * segs + j] =
                center + side * (std::sin(a) * p.rSide) - front * (std::cos(a) * p.rFront);
        }
        tangents[i] = tangent;
        centers[i] = center;
        influences[i] = ringInfluences(tube, cumulative, dist, here.segment);
    }

    auto at = [&](int i, int j) {
        return grid[size_t(std::clamp(i, 0, rings - 1)) * segs + (j + segs) % segs];
    };
    const std::uint32_t base = std::uint32_t(mesh.vertices.size());
    for (int i = 0; i < rings; ++i) {
        for (int j = 0; j <= segs; ++j) {
            SkinnedVertex v;
            v.position = at(i, j);
            const glm::vec3 alongRing = at(i, j + 1) - at(i, j - 1);
            const glm::vec3 alongTube = at(i + 1, j) - at(i - 1, j);
            glm::vec3 n = glm::cross(alongTube, alongRing);
            if (glm::length(n) < 1e-6f)
                n = i == 0 ? -tangents[i] : tangents[i];
            v.normal = glm::normalize(n);
            v.uv = atlasUv(tube.rect, float(j) / float(segs), float(i) / float(rings - 1));
            setCharacterWeights(v, influences[i]);
            mesh.vertices.push_back(v);
        }
    }
    const std::uint32_t rowLength = std::uint32_t(segs + 1);
    for (int i = 0; i + 1 < rings; ++i) {
        for (int j = 0; j < segs; ++j) {
            const std::uint32_t a = base + std::uint32_t(i) * rowLength + std::uint32_t(j);
            const std::uint32_t b = a + rowLength;
            mesh.indices.insert(mesh.indices.end(), {a, b, a + 1, a + 1, b, b + 1});
        }
    }

    auto addCap = [&](int ring, bool atStart) {
        const glm::vec3 normal = atStart ? -tangents[ring] : tangents[ring];
        const std::uint32_t center = std::uint32_t(mesh.vertices.size());
        SkinnedVertex c;
        c.position = centers[ring];
        c.normal = normal;
        c.uv = atlasUv(tube.rect, 0.5f, atStart ? 0.02f : 0.98f);
        setCharacterWeights(c, influences[ring]);
        mesh.vertices.push_back(c);
        for (int j = 0; j < segs; ++j) {
            SkinnedVertex v = c;
            v.position = at(ring, j);
            mesh.vertices.push_back(v);
        }
        for (int j = 0; j < segs; ++j) {
            const std::uint32_t p = center + 1 + std::uint32_t(j);
            const std::uint32_t q = center + 1 + std::uint32_t((j + 1) % segs);
            if (atStart)
                mesh.indices.insert(mesh.indices.end(), {center, p, q});
            else
                mesh.indices.insert(mesh.indices.end(), {center, q, p});
        }
    };
    if (tube.capStart)
        addCap(0, true);
    if (tube.capEnd)
        addCap(rings - 1, false);
}
