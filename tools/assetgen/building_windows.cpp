// What is left in and around the building's openings: window frames, cracked and half-broken panes,
// boarded-up ground-floor windows, a rusted shop shutter, a door hanging open, and the north side's
// balconies, one of them broken off at an end.
#include "building_parts.hpp"
#include "noise.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

const glm::vec3 kUp(0, 1, 0);

// A slim box given by its centre and half-sizes along the opening's own axes.
void bar(MeshData& m, const FacadeOpening& o, const glm::vec3& centre, float halfAlong, float halfUp,
         float halfDepth) {
    addOrientedBox(m, centre, o.along * halfAlong, kUp * halfUp, o.outward * halfDepth, 0.5f);
}

glm::vec3 at(const FacadeOpening& o, float a, float up, float depth) {
    return o.corner + o.along * a + kUp * up - o.outward * depth;
}

// A pane seen from both sides; `top` gives the height of the remaining glass at each of its columns.
void pane(MeshData& m, const FacadeOpening& o, float a0, float a1, float bottom,
          const std::vector<float>& top, float depth) {
    const int n = int(top.size());
    for (int side = 0; side < 2; ++side) {
        const glm::vec3 nrm = side == 0 ? o.outward : -o.outward;
        for (int i = 0; i + 1 < n; ++i) {
            const float x0 = a0 + (a1 - a0) * float(i) / float(n - 1);
            const float x1 = a0 + (a1 - a0) * float(i + 1) / float(n - 1);
            glm::vec3 p[4] = {at(o, x0, bottom, depth), at(o, x1, bottom, depth),
                              at(o, x1, top[i + 1], depth), at(o, x0, top[i], depth)};
            glm::vec2 uv[4] = {{x0 / 1.6f, -bottom / 1.6f},
                               {x1 / 1.6f, -bottom / 1.6f},
                               {x1 / 1.6f, -top[i + 1] / 1.6f},
                               {x0 / 1.6f, -top[i] / 1.6f}};
            if (side == 1) {
                std::swap(p[1], p[3]);
                std::swap(uv[1], uv[3]);
            }
            m.addQuad(p, nrm, uv);
        }
    }
}

void windowFrame(GeneratedModel& g, const FacadeOpening& o, Rng& rng) {
    MeshData& frame = g.model.mesh("Frames", "FramePaint");
    const float d = 0.14f, t = 0.035f;
    bar(frame, o, at(o, o.width * 0.5f, t, d), o.width * 0.5f, t, t);
    bar(frame, o, at(o, o.width * 0.5f, o.height - t, d), o.width * 0.5f, t, t);
    bar(frame, o, at(o, t, o.height * 0.5f, d), t, o.height * 0.5f, t);
    bar(frame, o, at(o, o.width - t, o.height * 0.5f, d), t, o.height * 0.5f, t);
    bar(frame, o, at(o, o.width * 0.5f, o.height * 0.5f, d), t, o.height * 0.5f, t);
    const float transom = o.height * 0.72f;
    bar(frame, o, at(o, o.width * 0.5f, transom, d), o.width * 0.5f, t, t);
    MeshData& glass = g.model.mesh("Glass", "DirtyGlass");
    for (int half = 0; half < 2; ++half) {
        const float a0 = half == 0 ? 2 * t : o.width * 0.5f + t,
                    a1 = half == 0 ? o.width * 0.5f - t : o.width - 2 * t;
        const float state = rng.unit();
        if (state < 0.35f) {
            pane(glass, o, a0, a1, 2 * t, {transom - t, transom - t}, d);
        } else if (state < 0.65f) {
            std::vector<float> top;
            for (int i = 0; i < 4; ++i)
                top.push_back(rng.range(0.15f, transom * 0.8f));
            pane(glass, o, a0, a1, 2 * t, top, d);
        }
        if (rng.unit() < 0.5f)
            pane(glass, o, a0, a1, transom + t, {o.height - 2 * t, o.height - 2 * t}, d);
    }
}

void boards(GeneratedModel& g, const FacadeOpening& o, Rng& rng) {
    MeshData& m = g.model.mesh("Boards", "WoodBoards");
    const int count = 3 + int(rng.unit() * 3.0f);
    for (int i = 0; i < count; ++i) {
        const float y = o.height * (0.12f + 0.8f * float(i) / float(count - 1)) + rng.range(-0.08f, 0.08f);
        const float tilt = rng.range(-0.18f, 0.18f);
        const glm::vec3 along = glm::normalize(o.along + kUp * tilt);
        const glm::vec3 up = glm::normalize(glm::cross(o.outward, along));
        addOrientedBox(m, at(o, o.width * 0.5f, y, -0.03f), along * (o.width * 0.5f + 0.15f), up * 0.1f,
                       o.outward * 0.02f, 1.5f);
    }
}

void shutter(GeneratedModel& g, const FacadeOpening& o) {
    MeshData& m = g.model.mesh("Shutter", "Corrugated");
    const float bottom = 1.25f;
    addOrientedBox(m, at(o, o.width * 0.5f, 0.5f * (bottom + o.height), 0.1f), o.along * (o.width * 0.5f),
                   kUp * (0.5f * (o.height - bottom)), o.outward * 0.02f, 2.3f);
    // The shutter box above the opening.
    addOrientedBox(m, at(o, o.width * 0.5f, o.height + 0.18f, -0.12f), o.along * (o.width * 0.5f + 0.1f),
                   kUp * 0.18f, o.outward * 0.14f, 2.3f);
}

void hangingDoor(GeneratedModel& g, const FacadeOpening& o) {
    MeshData& m = g.model.mesh("Boards", "WoodBoards");
    // Hinged at the left jamb and swung inwards by 70 degrees.
    const float angle = glm::radians(70.0f);
    const glm::vec3 dir = glm::normalize(std::cos(angle) * o.along - std::sin(angle) * o.outward);
    const glm::vec3 hinge = at(o, 0.05f, 0.0f, 0.2f);
    const float w = o.width - 0.1f, h = o.height - 0.05f;
    addOrientedBox(m, hinge + dir * (0.5f * w) + kUp * (0.5f * h), dir * (0.5f * w), kUp * (0.5f * h),
                   glm::normalize(glm::cross(dir, kUp)) * 0.025f, 1.5f);
}

// Balconies on the north side: a slab on brackets with a corrugated metal front, some of it gone.
void balconies(GeneratedModel& g, Rng& rng) {
    MeshData& slab = g.model.mesh("Balconies", "BrokenConcrete");
    MeshData& front = g.model.mesh("Shutter", "Corrugated");
    const float depth = 1.1f, z0 = kBuildingMaxZ;
    for (float x0 : {-11.2f, -1.8f})
        for (int k = 1; k <= 4; ++k) {
            const float y = floorY(k), x1 = x0 + 2.6f;
            // The lower balcony on the east column broke off at one end and hangs down.
            const bool hanging = x0 > -5.0f && k == 2;
            if (hanging) {
                const float drop = glm::radians(28.0f);
                const glm::vec3 along = glm::vec3(std::cos(drop), -std::sin(drop), 0.0f);
                addOrientedBox(slab, glm::vec3(x0, y - 0.08f, z0 + 0.5f * depth) + along * 1.3f, along * 1.3f,
                               glm::vec3(std::sin(drop), std::cos(drop), 0.0f) * 0.08f,
                               glm::vec3(0, 0, 0.5f * depth), 1.0f);
                continue;
            }
            addBox(slab, {x0, y - 0.16f, z0}, {x1, y, z0 + depth}, 1.0f);
            if (rng.unit() < 0.8f)
                addBox(front, {x0, y, z0 + depth - 0.04f}, {x1, y + 1.0f, z0 + depth}, 1.2f);
            for (float x : {x0, x1 - 0.04f})
                if (rng.unit() < 0.7f)
                    addBox(front, {x, y, z0}, {x + 0.04f, y + 1.0f, z0 + depth - 0.04f}, 1.2f);
        }
}

} // namespace

void buildWindows(GeneratedModel& g, TextureLibrary& lib) {
    g.model.materials.push_back(lib.material("FramePaint", "frame_paint"));
    g.model.materials.push_back(lib.material("DirtyGlass", "glass_dirty"));
    g.model.materials.push_back(lib.material("WoodBoards", "wood_boards"));
    g.model.materials.push_back(lib.material("Corrugated", "corrugated"));
    Rng rng(7001);
    balconies(g, rng);
    for (const FacadeOpening& o : facadeOpenings()) {
        const float roll = rng.unit();
        if (o.kind == FacadeOpening::kShopFront) {
            if (o.corner.z < 0.0f)
                shutter(g, o);
            else
                boards(g, o, rng);
            continue;
        }
        if (o.kind == FacadeOpening::kDoor) {
            hangingDoor(g, o);
            continue;
        }
        // The top storey burnt out: nothing is left in its windows.
        if (o.storey == 5)
            continue;
        if (o.storey == 0) {
            boards(g, o, rng);
            continue;
        }
        if (roll < 0.72f)
            windowFrame(g, o, rng);
    }
}
