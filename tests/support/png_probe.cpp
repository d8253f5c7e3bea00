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

    unsigned char at(int x, int y, int c) const {
        return pixels
            .get()[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3 +
                   static_cast<size_t>(c)];
    }
};

bool load(const char* path, Image& image) {
    int channels = 0;
    image.pixels.reset(stbi_load(path, &image.width, &image.height, &channels, 3));
    if (!image.pixels) {
        std::fprintf(stderr, "png_probe: cannot read %s: %s\n", path, stbi_failure_reason());
        return false;
    }
    return true;
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// The rectangle of argv[at .. at + 3], or the whole image without one; false when it does not fit.
bool rectangle(int argc, char** argv, int at, const Image& image, Rect& r) {
    r = {0, 0, image.width, image.height};
    if (argc == at + 4)
        r = {std::atoi(argv[at]), std::atoi(argv[at + 1]), std::atoi(argv[at + 2]), std::atoi(argv[at + 3])};
    if (r.x < 0 || r.y < 0 || r.w <= 0 || r.h <= 0 || r.x + r.w > image.width || r.y + r.h > image.height) {
        std::fprintf(stderr, "png_probe: rectangle outside the %dx%d image\n", image.width, image.height);
        return false;
    }
    return true;
}

int mean(int argc, char** argv) {
    Image image;
    Rect r;
    if (!load(argv[1], image))
        return 1;
    if (!rectangle(argc, argv, 2, image, r))
        return 2;
    double sum[3] = {0.0, 0.0, 0.0};
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            for (int c = 0; c < 3; ++c)
                sum[c] += image.at(x, y, c);
    const double count = static_cast<double>(r.w) * static_cast<double>(r.h);
    std::printf("%d %d %ld %ld %ld\n", image.width, image.height, std::lround(sum[0] / count),
                std::lround(sum[1] / count), std::lround(sum[2] / count));
    return 0;
}

int diff(int argc, char** argv) {
    Image a, b;
    Rect r;
    if (!load(argv[2], a) || !load(argv[3], b))
        return 1;
    if (a.width != b.width || a.height != b.height) {
        std::fprintf(stderr, "png_probe: %s is %dx%d but %s is %dx%d\n", argv[2], a.width, a.height, argv[3],
                     b.width, b.height);
        return 1;
    }
    const int threshold = std::atoi(argv[4]);
    if (!rectangle(argc, argv, 5, a, r))
        return 2;
    long over = 0;
    int largest = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            int pixelLargest = 0;
            for (int c = 0; c < 3; ++c)
                pixelLargest = std::max(pixelLargest, std::abs(a.at(x, y, c) - b.at(x, y, c)));
            over += pixelLargest > threshold;
            largest = std::max(largest, pixelLargest);
        }
    std::printf("%ld %ld %d\n", over, static_cast<long>(r.w) * r.h, largest);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--diff") == 0) {
        if (argc != 5 && argc != 9) {
            std::fprintf(stderr, "usage: png_probe --diff FILE_A FILE_B THRESHOLD [X Y WIDTH HEIGHT]\n");
            return 2;
        }
        return diff(argc, argv);
    }
    if (argc != 2 && argc != 6) {
        std::fprintf(stderr, "usage: png_probe FILE [X Y WIDTH HEIGHT]  (rectangle from the top-left)\n"
                             "       png_probe --diff FILE_A FILE_B THRESHOLD [X Y WIDTH HEIGHT]\n");
        return 2;
    }
    return mean(argc, argv);
}
