// The two small models: window.obj, a framed pane of cracked glass that stands leaning in the street
// (the scene tilts it by 20 degrees and scales it by 1.5), and mirror.obj, which the viewer loads but
// never draws, kept to a single quad.
#include "scene_parts.hpp"

namespace {

void doubleSidedQuad(MeshData& m, const glm::vec3& lo, const glm::vec3& hi, float z) {
    const glm::vec3 p[4] = {{lo.x, lo.y, z}, {hi.x, lo.y, z}, {hi.x, hi.y, z}, {lo.x, hi.y, z}};
    const glm::vec2 uv[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    m.addQuad(p, {0, 0, 1}, uv);
    const glm::vec3 q[4] = {p[1], p[0], p[3], p[2]};
    const glm::vec2 quv[4] = {uv[1], uv[0], uv[3], uv[2]};
    m.addQuad(q, {0, 0, -1}, quv);
}

} // namespace

GeneratedModel buildWindowModel(TextureLibrary& lib) {
    GeneratedModel g;
    g.model.fileStem = "window";
    g.model.materials.push_back(lib.material("WindowFrame", "frame_paint"));
    g.model.materials.push_back(lib.material("WindowGlass", "glass_dirty"));
    // Model units: 1.0 wide and 1.35 tall, standing on its bottom edge at the origin.
    MeshData& frame = g.model.mesh("Frame", "WindowFrame");
    const float w = 0.5f, h = 1.35f, t = 0.05f, d = 0.04f;
    addBox(frame, {-w, 0, -d}, {w, t, d}, 0.6f);
    addBox(frame, {-w, h - t, -d}, {w, h, d}, 0.6f);
    addBox(frame, {-w, t, -d}, {-w + t, h - t, d}, 0.6f);
    addBox(frame, {w - t, t, -d}, {w, h - t, d}, 0.6f);
    addBox(frame, {-0.02f, t, -d * 0.6f}, {0.02f, h - t, d * 0.6f}, 0.6f);
    addBox(frame, {-w + t, 0.92f, -d * 0.6f}, {w - t, 0.96f, d * 0.6f}, 0.6f);
    MeshData& glass = g.model.mesh("Pane", "WindowGlass");
    doubleSidedQuad(glass, {-w + t, t, 0}, {-0.02f, 0.92f, 0}, 0.0f);
    doubleSidedQuad(glass, {0.02f, t, 0}, {w - t, 0.92f, 0}, 0.0f);
    doubleSidedQuad(glass, {-w + t, 0.96f, 0}, {w - t, h - t, 0}, 0.0f);
    return g;
}

GeneratedModel buildMirror(TextureLibrary& lib) {
    GeneratedModel g;
    g.model.fileStem = "mirror";
    g.model.materials.push_back(lib.material("MirrorGlass", "glass_dirty"));
    MeshData& m = g.model.mesh("Mirror", "MirrorGlass");
    const glm::vec3 p[4] = {{-0.5f, 0, 0}, {0.5f, 0, 0}, {0.5f, 1.4f, 0}, {-0.5f, 1.4f, 0}};
    const glm::vec2 uv[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    m.addQuad(p, {0, 0, 1}, uv);
    return g;
}
