// Loads the smoke sprite images into one array texture with stb_image.
#include "particles/sprite_array.hpp"

#include <stb_image.h>

#include <cstdio>
#include <iostream>

namespace {

// Opens with mode "rb" and decodes to 8-bit RGBA; nullptr when either step fails.
unsigned char* loadRgba(const std::string& path, int& width, int& height) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return nullptr;
    int channels = 0;
    unsigned char* pixels = stbi_load_from_file(file, &width, &height, &channels, 4);
    std::fclose(file);
    return pixels;
}

} // namespace

std::string spriteFileName(const char* prefix, int number) {
    return std::string(prefix) + std::to_string(number) + ".png";
}

SpriteSize readSpriteSize(const std::string& path) {
    SpriteSize size;
    unsigned char* pixels = loadRgba(path, size.width, size.height);
    if (!pixels)
        return {};
    stbi_image_free(pixels);
    return size;
}

SpriteSize chooseSpriteSize(const char* prefix, int probeNumber, int layerCount) {
    const std::string probe = spriteFileName(prefix, probeNumber);
    SpriteSize size = readSpriteSize(probe);
    if (size.width > 0 && size.height > 0)
        return size;
    for (int layer = 0; layer < layerCount; ++layer) {
        const std::string name = spriteFileName(prefix, layerCount - layer);
        size = readSpriteSize(name);
        if (size.width > 0 && size.height > 0) {
            std::cout << "Could not read sprite size probe " << probe << "; sizing the sprite array from "
                      << name << " (" << size.width << "x" << size.height << ")" << std::endl;
            return size;
        }
    }
    std::cout << "Could not read sprite size probe " << probe << " nor any sprite layer; using "
              << fallbackSpriteSize << "x" << fallbackSpriteSize << " empty layers" << std::endl;
    return {fallbackSpriteSize, fallbackSpriteSize};
}

GLuint loadSpriteArray(const char* prefix, int probeNumber, int layerCount) {
    const SpriteSize size = chooseSpriteSize(prefix, probeNumber, layerCount);

    GLuint spriteTexture = 0;
    glGenTextures(1, &spriteTexture);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D_ARRAY, spriteTexture);
    glTexImage3D(GL_TEXTURE_2D_ARRAY, 0, GL_RGBA, size.width, size.height, layerCount, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);

    for (int layer = 0; layer < layerCount; ++layer) {
        const std::string name = spriteFileName(prefix, layerCount - layer);
        std::cout << name << std::endl;
        int width = 0;
        int height = 0;
        unsigned char* pixels = loadRgba(name, width, height);
        if (!pixels)
            continue;
        // A layer image larger than the array would only raise GL_INVALID_VALUE and leave the layer
        // empty; skipping it gives the same texture without the error.
        if (width <= size.width && height <= size.height)
            glTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, 0, 0, layer, width, height, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                            pixels);
        stbi_image_free(pixels);
    }

    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return spriteTexture;
}
