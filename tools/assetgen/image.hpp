// Images the generator paints in floating point and writes as JPEG (colour or grey), and the row-parallel
// loop that paints them.
#pragma once

#include <glm/glm.hpp>

#include <functional>
#include <string>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<glm::vec3> pixels; // linear-ish colour in [0, 1], row 0 at the top

    Image() = default;
    Image(int w, int h, const glm::vec3& fill = glm::vec3(0.0f))
        : width(w), height(h), pixels(size_t(w) * h, fill) {}
    glm::vec3& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const glm::vec3& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Writes `image` below `assetsDir` at `relativePath`, creating folders; grey writes one channel.
// Returns false when the file could not be written.
bool writeJpeg(const std::string& assetsDir, const std::string& relativePath, const Image& image,
               bool grey = false, int quality = 90);
// Runs `row(y)` for every y in [0, height) on a few worker threads; callers make each row depend only
// on its own index, so results do not depend on scheduling.
void parallelRows(int height, const std::function<void(int)>& row);
