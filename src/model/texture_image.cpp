// Decoding with stb_image behind a header check, and the upload of the decoded pixels as a mipmapped
// texture.
#include "model/texture_image.hpp"

#include <stb_image.h>

#include <cstdio>

GLenum pixelFormatForChannels(int channels) {
    switch (channels) {
    case 1:
        return GL_RED;
    case 2:
        return GL_RG;
    case 3:
        return GL_RGB;
    case 4:
        return GL_RGBA;
    default:
        return 0;
    }
}

DecodedImage decodeImageFile(const std::string& path, int maxDimension) {
    DecodedImage image;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return image;
    int width = 0;
    int height = 0;
    int channels = 0;
    // stbi_info_from_file reads the header and puts the file back where it was, so the decoder below
    // starts from the beginning again.
    const bool sized = stbi_info_from_file(file, &width, &height, &channels) != 0;
    if (sized && width >= 1 && height >= 1 && width <= maxDimension && height <= maxDimension)
        image.pixels = stbi_load_from_file(file, &image.width, &image.height, &image.channels, 0);
    std::fclose(file);
    if (!image.pixels)
        return DecodedImage{};
    image.format = pixelFormatForChannels(image.channels);
    if (image.format == 0)
        releaseImage(image);
    return image;
}

void releaseImage(DecodedImage& image) {
    stbi_image_free(image.pixels);
    image = DecodedImage{};
}

void uploadMipmappedTexture(GLuint texture, const DecodedImage& image) {
    glBindTexture(GL_TEXTURE_2D, texture);
    // Decoded rows are tightly packed; the default alignment of 4 would skew every image whose row is
    // not a multiple of 4 bytes (odd-width RGB, most single-channel images).
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(image.format), image.width, image.height, 0,
                 image.format, GL_UNSIGNED_BYTE, image.pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    if (image.channels == 2) {
        // A two-channel image is grey plus alpha: spread grey over RGB so it samples like the others.
        const GLint greyAlpha[] = {GL_RED, GL_RED, GL_RED, GL_GREEN};
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, greyAlpha);
    }
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}
