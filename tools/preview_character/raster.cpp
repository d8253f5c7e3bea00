// Scanline-free half-space rasterization; slow but simple and plenty for a few hundred small cells.
#include "raster.hpp"

#include <algorithm>
#include <cmath>

namespace {

glm::vec3 toCell(const View& view, glm::vec3 p) {
    const glm::vec4 c = view.viewProj * glm::vec4(p, 1.0f);
    return {view.x0 + (c.x * 0.5f + 0.5f) * view.size, view.y0 + (0.5f - c.y * 0.5f) * view.size, c.z};
}

glm::vec3 sample(const TextureImage& t, glm::vec2 uv) {
    if (!t.pixels)
        return glm::vec3(0.7f);
    const float fu = uv.x - std::floor(uv.x), fv = uv.y - std::floor(uv.y);
    const int x = std::clamp(int(fu * t.width), 0, t.width - 1);
    const int y = std::clamp(int(fv * t.height), 0, t.height - 1);
    const std::uint8_t* p = t.pixels + (size_t(y) * t.width + x) * t.channels;
    return glm::vec3(p[0], p[1], p[2]) / 255.0f;
}

void put(Image& image, int x, int y, glm::vec3 c) {
    std::uint8_t* o = &image.rgb[(size_t(y) * image.width + x) * 3];
    for (int k = 0; k < 3; ++k)
        o[k] = std::uint8_t(std::clamp(c[k], 0.0f, 1.0f) * 255.0f + 0.5f);
}

} // namespace

Image makeImage(int width, int height, glm::vec3 background) {
    Image image;
    image.width = width;
    image.height = height;
    image.rgb.resize(size_t(width) * height * 3);
    image.depth.assign(size_t(width) * height, 1e9f);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            put(image, x, y, background);
    return image;
}

void fillCell(Image& image, const View& view, glm::vec3 color) {
    for (int y = view.y0; y < view.y0 + view.size; ++y)
        for (int x = view.x0; x < view.x0 + view.size; ++x) {
            put(image, x, y, color);
            image.depth[size_t(y) * image.width + x] = 1e9f;
        }
}

void drawTriangles(Image& image, const View& view, const std::vector<glm::vec3>& positions,
                   const std::vector<glm::vec3>& normals, const std::vector<glm::vec2>& uvs,
                   const std::vector<unsigned>& indices, const TextureImage& texture, glm::vec3 lightDir) {
    const glm::vec3 light = glm::normalize(lightDir);
    for (size_t t = 0; t + 2 < indices.size(); t += 3) {
        const unsigned i[3] = {indices[t], indices[t + 1], indices[t + 2]};
        const glm::vec3 s[3] = {toCell(view, positions[i[0]]), toCell(view, positions[i[1]]),
                                toCell(view, positions[i[2]])};
        // y grows downwards in the image, so counter-clockwise fronts have negative area here.
        const float area = (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[2].x - s[0].x) * (s[1].y - s[0].y);
        if (area >= 0.0f)
            continue;
        const int xMin = std::max(view.x0, int(std::floor(std::min({s[0].x, s[1].x, s[2].x}))));
        const int xMax =
            std::min(view.x0 + view.size - 1, int(std::ceil(std::max({s[0].x, s[1].x, s[2].x}))));
        const int yMin = std::max(view.y0, int(std::floor(std::min({s[0].y, s[1].y, s[2].y}))));
        const int yMax =
            std::min(view.y0 + view.size - 1, int(std::ceil(std::max({s[0].y, s[1].y, s[2].y}))));
        for (int y = yMin; y <= yMax; ++y) {
            for (int x = xMin; x <= xMax; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float w0 = ((s[1].x - px) * (s[2].y - py) - (s[2].x - px) * (s[1].y - py)) / area;
                const float w1 = ((s[2].x - px) * (s[0].y - py) - (s[0].x - px) * (s[2].y - py)) / area;
                const float w2 = 1.0f - w0 - w1;
                if (w0 < 0.0f || w1 < 0.0f || w2 < 0.0f)
                    continue;
                const float z = w0 * s[0].z + w1 * s[1].z + w2 * s[2].z;
                float& depth = image.depth[size_t(y) * image.width + x];
                if (z >= depth)
                    continue;
                depth = z;
                const glm::vec3 n =
                    glm::normalize(w0 * normals[i[0]] + w1 * normals[i[1]] + w2 * normals[i[2]]);
                const glm::vec2 uv = w0 * uvs[i[0]] + w1 * uvs[i[1]] + w2 * uvs[i[2]];
                const float diffuse = std::max(0.0f, glm::dot(n, -light));
                put(image, x, y, sample(texture, uv) * (0.35f + 0.9f * diffuse) * 1.3f);
            }
        }
    }
}

void drawLine(Image& image, const View& view, glm::vec3 a, glm::vec3 b, glm::vec3 color) {
    const glm::vec3 sa = toCell(view, a), sb = toCell(view, b);
    const int steps = int(std::max(std::fabs(sb.x - sa.x), std::fabs(sb.y - sa.y))) + 1;
    for (int k = 0; k <= steps; ++k) {
        const float f = float(k) / float(steps);
        const int x = int(sa.x + (sb.x - sa.x) * f), y = int(sa.y + (sb.y - sa.y) * f);
        if (x >= view.x0 && x < view.x0 + view.size && y >= view.y0 && y < view.y0 + view.size)
            put(image, x, y, color);
    }
}
