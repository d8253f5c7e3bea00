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
