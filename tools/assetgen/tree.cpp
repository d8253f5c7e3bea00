// DeadTree1.obj and DeadTree21.obj: two dead, leafless trees grown by recursive branching. The first is
// a gnarled broad-leaf tree with a few heavy limbs, built for the scene's scale of 0.015 (about 7.5 world
// units tall); the second a tall dead conifer with whorls of short drooping branches and a snapped top,
// built for 0.01 (about 9 units). Both reach below their origin so they sit firmly on uneven ground.
#include "noise.hpp"
#include "scene_parts.hpp"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

struct TreeStyle {
    float unit; // model units per world unit (1 / scene scale)
    int maxDepth;
    float childLength; // child length relative to parent
    float spread;      // child angle from the parent, radians
    float gravity;     // how strongly branches droop (negative: reach upwards)
    float gnarl;       // random bending per segment
    int childrenMin, childrenMax;
};

glm::vec3 anyPerpendicular(const glm::vec3& d) {
    return glm::normalize(glm::cross(d, std::fabs(d.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0)));
}

glm::vec3 rotateAbout(const glm::vec3& v, const glm::vec3& axis, float angle) {
    return glm::vec3(glm::rotate(glm::mat4(1.0f), angle, axis) * glm::vec4(v, 0.0f));
}

void branch(MeshData& m, const TreeStyle& s, Rng& rng, glm::vec3 pos, glm::vec3 dir, float length,
            float radius, int depth) {
    const int segments = depth == 0 ? 9 : std::max(2, 6 - depth);
    const int sides = depth == 0 ? 9 : (depth == 1 ? 7 : (depth == 2 ? 5 : 3));
    const float tipRadius = depth >= s.maxDepth ? radius * 0.15f : radius * 0.45f;
    std::vector<glm::vec3> pts{pos};
    std::vector<float> radii{radius};
    const float step = length / float(segments);
    // Trunks reach up; limbs sag under their own weight.
    const float gravity = depth == 0 ? -0.2f : s.gravity;
    for (int i = 1; i <= segments; ++i) {
        dir = glm::normalize(dir +
                             s.gnarl * glm::vec3(rng.range(-1, 1), rng.range(-0.5f, 0.5f), rng.range(-1, 1)) +
                             glm::vec3(0, -gravity * 0.25f, 0));
        pos += dir * step;
        pts.push_back(pos);
        radii.push_back(glm::mix(radius, tipRadius, float(i) / float(segments)));
    }
    const float circumference = glm::two_pi<float>() * radius / s.unit;
    addTube(m, pts, radii, sides, std::max(1.0f, std::round(circumference / 0.6f)), 0.8f * s.unit, true);
    if (depth >= s.maxDepth)
        return;
    // Some limbs broke off long ago and end in a stump.
    if (depth >= 1 && rng.unit() < 0.15f)
        return;
    const int children = s.childrenMin + int(rng.unit() * float(s.childrenMax - s.childrenMin + 1));
    float roll = rng.range(0.0f, 6.28f);
    for (int c = 0; c < children; ++c) {
        const float at = rng.range(0.35f, 0.95f);
        const int idx = std::min(segments - 1, int(at * float(segments)));
        const glm::vec3 parentDir = glm::normalize(pts[idx + 1] - pts[idx]);
        roll += 2.4f; // golden-angle turn around the parent
        const glm::vec3 side = rotateAbout(anyPerpendicular(parentDir), parentDir, roll);
        const float angle = s.spread * rng.range(0.7f, 1.3f);
        const glm::vec3 childDir = glm::normalize(std::cos(angle) * parentDir + std::sin(angle) * side);
        const float childRadius = radii[idx] * rng.range(0.5f, 0.72f);
        branch(m, s, rng, pts[idx], childDir, length * s.childLength * rng.range(0.75f, 1.2f), childRadius,
               depth + 1);
    }
}

// Roots flaring out at the foot and reaching below the origin.
void roots(MeshData& m, const TreeStyle& s, Rng& rng, float radius) {
    for (int i = 0; i < 5; ++i) {
        const float a = glm::two_pi<float>() * (float(i) + rng.range(-0.2f, 0.2f)) / 5.0f;
        const glm::vec3 out(std::cos(a), 0.0f, std::sin(a));
        const std::vector<glm::vec3> pts = {glm::vec3(0, 0.5f, 0) * s.unit + out * radius * 0.3f,
                                            out * radius * 1.6f + glm::vec3(0, 0.05f, 0) * s.unit,
                                            out * radius * 3.0f - glm::vec3(0, 0.45f, 0) * s.unit};
        addTube(m, pts, {radius * 0.55f, radius * 0.35f, radius * 0.12f}, 5, 2.0f, 0.8f * s.unit, true);
    }
}

} // namespace

GeneratedModel buildTree(TextureLibrary& lib, int variant) {
    GeneratedModel g;
    g.model.fileStem = variant == 0 ? "DeadTree1" : "DeadTree21";
    g.model.materials.push_back(lib.material("DeadBark", "bark_dead"));
    MeshData& bark = g.model.mesh(variant == 0 ? "Bark" : "BarkPine", "DeadBark");
    if (variant == 0) {
        const TreeStyle s{1.0f / 0.015f, 4, 0.6f, 0.7f, 0.25f, 0.16f, 3, 4};
        Rng rng(5101);
        const float r = 0.3f * s.unit;
        // The trunk leans and splits into a few heavy limbs low down.
        branch(bark, s, rng, glm::vec3(0, -1.2f, 0) * s.unit, glm::normalize(glm::vec3(0.12f, 1.0f, 0.05f)),
               4.2f * s.unit, r, 0);
        roots(bark, s, rng, r);
    } else {
        const TreeStyle s{1.0f / 0.01f, 3, 0.55f, 1.25f, 0.9f, 0.08f, 1, 2};
        Rng rng(5201);
        const float r = 0.26f * s.unit, height = 9.2f * s.unit;
        std::vector<glm::vec3> pts;
        std::vector<float> radii;
        for (int i = 0; i <= 14; ++i) {
            const float f = float(i) / 14.0f;
            pts.push_back(glm::vec3(0.25f * std::sin(f * 3.0f) * s.unit, -1.2f * s.unit + height * f,
                                    0.15f * f * s.unit));
            radii.push_back(glm::mix(r, r * 0.12f, f));
        }
        addTube(bark, pts, radii, 9, 3.0f, 0.8f * s.unit, true);
        roots(bark, s, rng, r);
        // Whorls of branches, longer low down; the lowest ones have snapped off to stubs.
        for (int w = 0; w < 11; ++w) {
            const float f = 0.22f + 0.68f * float(w) / 10.0f;
            const int idx = int(f * 14.0f);
            const int count = 3 + int(rng.unit() * 2.0f);
            for (int b = 0; b < count; ++b) {
                const float a = rng.range(0.0f, 6.28f);
                const glm::vec3 out(std::cos(a), rng.range(-0.25f, 0.05f), std::sin(a));
                const float len = (w < 2 ? 0.5f : 2.6f * (1.0f - f) + 0.4f) * s.unit * rng.range(0.8f, 1.15f);
                const float br = radii[idx] * rng.range(0.3f, 0.42f);
                TreeStyle bs = s;
                bs.maxDepth = w < 2 ? 0 : 2;
                branch(bark, bs, rng, pts[idx], glm::normalize(out), len, br, 1);
            }
        }
    }
    return g;
}
