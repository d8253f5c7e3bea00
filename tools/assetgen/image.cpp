// Image storage, encoding through stb_image_write, and small helpers for painting textures.
#include "image.hpp"

#include <stb_image_write.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

unsigned char toByte(float v) {
    return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

bool prepareFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    return !ec;
}

} // namespace

glm::vec3 Image::sampleWrapped(float u, float v) const {
    const float x = u * float(width) - 0.5f, y = v * float(height) - 0.5f;
    const float fx = std::floor(x), fy = std::floor(y);
    const int x0 = ((int(fx) % width) + width) % width, y0 = ((int(fy) % height) + height) % height;
    const int x1 = (x0 + 1) % width, y1 = (y0 + 1) % height;
    const float tx = x - fx, ty = y - fy;
    return glm::mix(glm::mix(at(x0, y0), at(x1, y0), tx), glm::mix(at(x0, y1), at(x1, y1), tx), ty);
}

bool writeJpeg(const std::string& assetsDir, const std::string& relativePath, const Image& image, bool grey,
               int quality) {
    const std::string path = assetsDir + "/" + relativePath;
    if (!prepareFolder(path))
        return false;
    const int comp = grey ? 1 : 3;
    std::vector<unsigned char> bytes(size_t(image.width) * image.height * comp);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const glm::vec3& p = image.pixels[i];
        if (grey)
            bytes[i] = toByte(p.x);
        else
            for (int c = 0; c < 3; ++c)
                bytes[i * 3 + c] = toByte(p[c]);
    }
    if (!stbi_write_jpg(path.c_str(), image.width, image.height, comp, bytes.data(), quality)) {
        std::fprintf(stderr, "assetgen: could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool writePng(const std::string& assetsDir, const std::string& relativePath, const Image& image) {
    const std::string path = assetsDir + "/" + relativePath;
    if (!prepareFolder(path))
        return false;
    std::vector<unsigned char> bytes(size_t(image.width) * image.height * 3);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        for (int c = 0; c < 3; ++c)
            bytes[i * 3 + c] = toByte(image.pixels[i][c]);
    if (!stbi_write_png(path.c_str(), image.width, image.height, 3, bytes.data(), image.width * 3)) {
        std::fprintf(stderr, "assetgen: could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

void blurWrapped(Image& image, int radius, int passes) {
    const int w = image.width, h = image.height;
    std::vector<glm::vec3> tmp(image.pixels.size());
    const float norm = 1.0f / float(2 * radius + 1);
    for (int p = 0; p < passes; ++p) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                glm::vec3 s(0.0f);
                for (int k = -radius; k <= radius; ++k)
                    s += image.at(((x + k) % w + w) % w, y);
                tmp[size_t(y) * w + x] = s * norm;
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                glm::vec3 s(0.0f);
                for (int k = -radius; k <= radius; ++k)
                    s += tmp[size_t(((y + k) % h + h) % h) * w + x];
                image.at(x, y) = s * norm;
            }
    }
}

void parallelRows(int height, const std::function<void(int)>& row) {
    std::atomic<int> nextRow{0};
    auto worker = [&] {
        for (int y = nextRow++; y < height; y = nextRow++)
            row(y);
    };
    const unsigned count = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < count; ++t)
        threads.emplace_back(worker);
    worker();
    for (std::thread& t : threads)
        t.join();
}
