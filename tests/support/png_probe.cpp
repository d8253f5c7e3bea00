// Reads screenshots for end-to-end tests that check them from the shell.
//   png_probe FILE [X Y WIDTH HEIGHT]
//     prints "WIDTH HEIGHT MEAN_R MEAN_G MEAN_B" (0 ... 255, rounded) of the image or of a rectangle
//   png_probe --diff FILE_A FILE_B THRESHOLD [X Y WIDTH HEIGHT]
//     prints "OVER PIXELS MAX_DIFFERENCE": how many pixels of the two images (or of a rectangle of
//     them) differ by more than THRESHOLD (0 ... 255) in some channel, out of how many, and the largest
//     difference of any channel
// Rectangles are measured from the top-left corner.
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, stbi_image_free};

    int at(int x, int y, int c) const {
        return pixels
            .get()[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3 +
                   static_cast<size_t>(c)];
    }
};

} // namespace

int main(int argc, char** argv) {
    const bool diff = argc >= 2 && std::strcmp(argv[1], "--diff") == 0;
    const int rectAt = diff ? 5 : 2; // where the optional rectangle starts
    if (argc != rectAt && argc != rectAt + 4) {
        std::fprintf(stderr, "usage: png_probe FILE [X Y WIDTH HEIGHT]  (rectangle from the top-left)\n"
                             "       png_probe --diff FILE_A FILE_B THRESHOLD [X Y WIDTH HEIGHT]\n");
        return 2;
    }
    Image images[2];
    for (int k = 0; k < (diff ? 2 : 1); ++k) {
        const char* path = argv[diff ? 2 + k : 1];
        int channels = 0;
        images[k].pixels.reset(stbi_load(path, &images[k].width, &images[k].height, &channels, 3));
        if (!images[k].pixels) {
            std::fprintf(stderr, "png_probe: cannot read %s: %s\n", path, stbi_failure_reason());
            return 1;
        }
    }
    const Image& a = images[0];
    const Image& b = images[1];
    if (diff && (a.width != b.width || a.height != b.height)) {
        std::fprintf(stderr, "png_probe: %s is %dx%d but %s is %dx%d\n", argv[2], a.width, a.height, argv[3],
                     b.width, b.height);
        return 1;
    }
    int x0 = 0, y0 = 0, w = a.width, h = a.height;
    if (argc == rectAt + 4) {
        x0 = std::atoi(argv[rectAt]), y0 = std::atoi(argv[rectAt + 1]);
        w = std::atoi(argv[rectAt + 2]), h = std::atoi(argv[rectAt + 3]);
    }
    if (x0 < 0 || y0 < 0 || w <= 0 || h <= 0 || x0 + w > a.width || y0 + h > a.height) {
        std::fprintf(stderr, "png_probe: rectangle outside the %dx%d image\n", a.width, a.height);
        return 2;
    }
    double sum[3] = {0.0, 0.0, 0.0};
    long over = 0;
    int largest = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            int pixelLargest = 0;
            for (int c = 0; c < 3; ++c) {
                sum[c] += a.at(x, y, c);
                if (diff)
                    pixelLargest = std::max(pixelLargest, std::abs(a.at(x, y, c) - b.at(x, y, c)));
            }
            over += pixelLargest > (diff ? std::atoi(argv[4]) : 0);
            largest = std::max(largest, pixelLargest);
        }
    const double count = static_cast<double>(w) * static_cast<double>(h);
    if (diff)
        std::printf("%ld %ld %d\n", over, static_cast<long>(w) * h, largest);
    else
        std::printf("%d %d %ld %ld %ld\n", a.width, a.height, std::lround(sum[0] / count),
                    std::lround(sum[1] / count), std::lround(sum[2] / count));
    return 0;
}
