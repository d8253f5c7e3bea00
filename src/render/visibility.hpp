// Conservative visibility tests on the CPU: whether a mesh's box can reach a target through a clip
// matrix, and which texels of a square map a box can cover. A test may keep what turns out hidden,
// never drop what shows.
#pragma once

#include "model/mesh.hpp"

#include <glm/glm.hpp>

#include <utility>
#include <vector>

// Half-open texel rectangle [x0, x1) x [y0, y1) of a map; empty when either side has no texels.
struct TexelRect {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

// True when all eight corners of the box [boxMin, boxMax] lie beyond one and the same plane of the
// clip volume (-w <= x, y, z <= w) of clipFromLocal. Clip coordinates are linear in the position, so
// the whole box is then outside and nothing of it can be rasterised.
bool boxOutsideClip(const glm::vec3& boxMin, const glm::vec3& boxMax, const glm::mat4& clipFromLocal);

// Replaces `ranges` by the runs of a list of indexCount indices, boxed in list order by runBounds
// (kRunTriangles triangles each, the last one the rest), that boxOutsideClip keeps, with neighbouring
// runs joined into one range. Runs left out lie wholly outside the clip volume, so drawing the ranges in
// order gives the same picture as drawing the whole list.
void visibleRuns(const std::vector<std::pair<glm::vec3, glm::vec3>>& runBounds, int indexCount,
                 const glm::mat4& clipFromLocal, std::vector<IndexRange>& ranges);

// Distance from `point` to the world-space box around [boxMin, boxMax] placed by worldFromLocal
// (0 inside it): the order key that lets the nearest surfaces be drawn first.
float distanceToPlacedBox(const glm::vec3& point, const glm::vec3& boxMin, const glm::vec3& boxMax,
                          const glm::mat4& worldFromLocal);

// The front-to-back order key of a placed box seen from `point`: its distance (as above) when the
// point lies outside it. A box around the point says nothing about how near its surfaces are, and
// the largest such boxes hold the sky dome and the ground around the camera, which everything else
// stands in front of: those get the distance to their farthest corner, and so come last.
float drawOrderKey(const glm::vec3& point, const glm::vec3& boxMin, const glm::vec3& boxMax,
                   const glm::mat4& worldFromLocal);

// The texels of a mapSize x mapSize map that the box [boxMin, boxMax], seen through the affine
// (orthographic) clipFromWorld, can cover, grown by `margin` texels on every side and clamped to the
// map. A box with a non-finite corner covers the whole map.
TexelRect texelRectOfBox(const glm::vec3& boxMin, const glm::vec3& boxMax, const glm::mat4& clipFromWorld,
                         int mapSize, int margin);

// The smallest rectangle holding both; an empty one adds nothing.
TexelRect uniteRects(const TexelRect& a, const TexelRect& b);

// Scale and offset in clip x and y that stretch the part of the clip volume over `rect` of a
// mapSize map to the whole volume, so that boxOutsideClip(crop * clipFromLocal) asks whether a box
// can reach that rectangle. The rectangle must not be empty.
glm::mat4 cropToTexelRect(const TexelRect& rect, int mapSize);
