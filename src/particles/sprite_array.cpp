// Loads the smoke sprite images into one array texture with stb_image.
#include "particles/sprite_array.hpp"

#include "model/texture_image.hpp"

#include <iostream>

namespace {

// Opens with mode "rb" and decodes to 8-bit RGBA; no pixels when either step fails. Goes through the
// same guarded decoder as the material textures, which refuses files that would overrun the system's
// stb_image and images no OpenGL 4.3 context is sure to hold.
DecodedImage loadRgba(const std::string& path) {
    return decodeImageFile(path, guaranteedMaxTextureSize, 4);
}

} // namespace

std::string spriteFileName(const char* prefix, int number) {
    return std::string(prefix) + std::to_string(number) + ".png";
}

SpriteSize readSpriteSize(const std::string& path) {
    DecodedImage image = loadRgba(path);
    const SpriteSize size{image.width, image.height};
    releaseImage(image);
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
        DecodedImage image = loadRgba(name);
        if (!image.pixels)
            continue;
        // A layer image larger than the array would only raise GL_INVALID_VALUE and leave the layer
        // empty; skipping it gives the same texture without the error.
        if (image.width <= size.width && image.height <= size.height)
            glTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, 0, 0, layer, image.width, image.height, 1, GL_RGBA,
                            GL_UNSIGNED_BYTE, image.pixels);
        releaseImage(image);
    }

    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return spriteTexture;
}
