// Box-against-clip-volume tests and texel rectangles for culling the passes' draws.
#include "render/visibility.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

std::array<glm::vec4, 8> boxCorners(const glm::vec3& boxMin, const glm::vec3& boxMax) {
    std::array<glm::vec4, 8> corners;
    for (int i = 0; i < 8; ++i)
        corners[i] = glm::vec4((i & 1) ? boxMax.x : boxMin.x, (i & 2) ? boxMax.y : boxMin.y,
                               (i & 4) ? boxMax.z : boxMin.z, 1.0f);
    return corners;
}

// The world-space box around the box [boxMin, boxMax] placed by worldFromLocal.
void placedWorldBox(const glm::vec3& boxMin, const glm::vec3& boxMax, const glm::mat4& worldFromLocal,
                    glm::vec3& low, glm::vec3& high) {
    low = glm::vec3(INFINITY);
    high = glm::vec3(-INFINITY);
    for (const glm::vec4& corner : boxCorners(boxMin, boxMax)) {
        const glm::vec3 world(worldFromLocal * corner);
        low = glm::min(low, world);
        high = glm::max(high, world);
    }
}

} // namespace

bool boxOutsideClip(const glm::vec3& boxMin, const glm::vec3& boxMax, const glm::mat4& clipFromLocal) {
    // One bit per clip plane, set while every corner so far lies beyond it.
    int outsideAll = 0x3F;
    for (const glm::vec4& corner : boxCorners(boxMin, boxMax)) {
        const glm::vec4 c = clipFromLocal * corner;
        int outside = 0;
        outside |= c.x < -c.w ? 0x01 : 0;
        outside |= c.x > c.w ? 0x02 : 0;
        outside |= c.y < -c.w ? 0x04 : 0;
        outside |= c.y > c.w ? 0x08 : 0;
        outside |= c.z < -c.w ? 0x10 : 0;
        outside |= c.z > c.w ? 0x20 : 0;
        outsideAll &= outside;
        if (outsideAll == 0)
            return false;
    }
    return true;
}

float distanceToPlacedBox(const glm::vec3& point, const glm::vec3& boxMin, const glm::vec3& boxMax,
                          const glm::mat4& worldFromLocal) {
    glm::vec3 low;
    glm::vec3 high;
    placedWorldBox(boxMin, boxMax, worldFromLocal, low, high);
    return glm::length(point - glm::clamp(point, low, high));
}

float drawOrderKey(const glm::vec3& point, const glm::vec3& boxMin, const glm::vec3& boxMax,
                   const glm::mat4& worldFromLocal) {
    glm::vec3 low;
    glm::vec3 high;
    placedWorldBox(boxMin, boxMax, worldFromLocal, low, high);
    const glm::vec3 nearest = glm::clamp(point, low, high);
    if (nearest != point)
        return glm::length(point - nearest);
    const glm::vec3 farthest(point.x - low.x > high.x - point.x ? low.x : high.x,
                             point.y - low.y > high.y - point.y ? low.y : high.y,
                             point.z - low.z > high.z - point.z ? low.z : high.z);
    return glm::length(point - farthest);
}

TexelRect texelRectOfBox(const glm::vec3& boxMin, const glm::vec3& boxMax, const glm::mat4& clipFromWorld,
                         int mapSize, int margin) {
    const TexelRect whole{0, 0, mapSize, mapSize};
    float low[2] = {INFINITY, INFINITY};
    float high[2] = {-INFINITY, -INFINITY};
    for (const glm::vec4& corner : boxCorners(boxMin, boxMax)) {
        const glm::vec4 c = clipFromWorld * corner;
        for (int axis = 0; axis < 2; ++axis) {
            const float texel = (c[axis] / c.w * 0.5f + 0.5f) * static_cast<float>(mapSize);
            if (!std::isfinite(texel))
                return whole;
            low[axis] = std::min(low[axis], texel);
            high[axis] = std::max(high[axis], texel);
        }
    }
    auto clampTexel = [mapSize](float t) {
        return static_cast<int>(std::clamp(t, 0.0f, static_cast<float>(mapSize)));
    };
    TexelRect rect;
    rect.x0 = clampTexel(std::floor(low[0]) - static_cast<float>(margin));
    rect.y0 = clampTexel(std::floor(low[1]) - static_cast<float>(margin));
    rect.x1 = clampTexel(std::ceil(high[0]) + static_cast<float>(margin));
    rect.y1 = clampTexel(std::ceil(high[1]) + static_cast<float>(margin));
    return rect;
}

TexelRect uniteRects(const TexelRect& a, const TexelRect& b) {
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return TexelRect{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

glm::mat4 cropToTexelRect(const TexelRect& rect, int mapSize) {
    const float size = static_cast<float>(mapSize);
    const float left = 2.0f * static_cast<float>(rect.x0) / size - 1.0f;
    const float right = 2.0f * static_cast<float>(rect.x1) / size - 1.0f;
    const float bottom = 2.0f * static_cast<float>(rect.y0) / size - 1.0f;
    const float top = 2.0f * static_cast<float>(rect.y1) / size - 1.0f;
    glm::mat4 crop(1.0f);
    crop[0][0] = 2.0f / (right - left);
    crop[1][1] = 2.0f / (top - bottom);
    // x' = (x - centre * w) * scale, and likewise for y.
    crop[3][0] = -(left + right) / (right - left);
    crop[3][1] = -(bottom + top) / (top - bottom);
    return crop;
}

void visibleRuns(const std::vector<std::pair<glm::vec3, glm::vec3>>& runBounds, int indexCount,
                 const glm::mat4& clipFromLocal, std::vector<IndexRange>& ranges) {
    ranges.clear();
    const int runIndices = 3 * kRunTriangles;
    bool joining = false;
    for (std::size_t run = 0; run < runBounds.size(); ++run) {
        const int first = static_cast<int>(run) * runIndices;
        if (first >= indexCount)
            break;
        if (boxOutsideClip(runBounds[run].first, runBounds[run].second, clipFromLocal)) {
            joining = false;
            continue;
        }
        const int count = std::min(runIndices, indexCount - first);
        if (joining)
            ranges.back().count += count;
        else
            ranges.push_back({first, count});
        joining = true;
    }
}
