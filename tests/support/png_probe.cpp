// Prints the size and the mean colour of a PNG file, or of a rectangle of it, for end-to-end tests
// that check screenshots from the shell: "WIDTH HEIGHT MEAN_R MEAN_G MEAN_B" (0 ... 255, rounded).
#include <stb_image.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 6) {
        std::fprintf(stderr, "usage: png_probe FILE [X Y WIDTH HEIGHT]  (rectangle from the top-left)\n");
        return 2;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* pixels = stbi_load(argv[1], &width, &height, &channels, 3);
    if (!pixels) {
        std::fprintf(stderr, "png_probe: cannot read %s: %s\n", argv[1], stbi_failure_reason());
        return 1;
    }
    int x0 = 0, y0 = 0, w = width, h = height;
    if (argc == 6) {
        x0 = std::atoi(argv[2]);
        y0 = std::atoi(argv[3]);
        w = std::atoi(argv[4]);
        h = std::atoi(argv[5]);
    }
    if (x0 < 0 || y0 < 0 || w <= 0 || h <= 0 || x0 + w > width || y0 + h > height) {
        std::fprintf(stderr, "png_probe: rectangle outside the %dx%d image\n", width, height);
        stbi_image_free(pixels);
        return 2;
    }
    double sum[3] = {0.0, 0.0, 0.0};
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            for (int c = 0; c < 3; ++c)
                sum[c] +=
                    pixels[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                               3 +
                           c];
    const double count = static_cast<double>(w) * static_cast<double>(h);
    std::printf("%d %d %ld %ld %ld\n", width, height, std::lround(sum[0] / count),
                std::lround(sum[1] / count), std::lround(sum[2] / count));
    stbi_image_free(pixels);
    return 0;
}
