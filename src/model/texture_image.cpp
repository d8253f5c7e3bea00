// Decoding with stb_image behind a header check, and the upload of the decoded pixels as a mipmapped
// texture.
#include "model/texture_image.hpp"

// stb_image is compiled here, privately (STB_IMAGE_STATIC: no symbol leaves this file), rather than
// taken from the system library, for two reasons the texture fuzzer found in version 2.27:
// - its decoder state must start zeroed: stb_image allocates it with malloc, and a JPEG scan that
//   names a Huffman table the file never defined is decoded with whatever that memory held, reading
//   far outside the tables. With zeroed state such a scan decodes as empty.
// - only the two formats textures come in are decoded: its other decoders (PNM, HDR, PSD, PIC, GIF,
//   TGA, BMP) carry faults of their own, such as signed overflow reading a PNM header.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(pointer, size) std::realloc(pointer, size)
#define STBI_FREE(pointer) std::free(pointer)
#include <stb_image.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

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

bool jpegHuffmanTablesFit(const unsigned char* data, size_t size) {
    const auto byteAt = [&](size_t at) -> unsigned { return at < size ? data[at] : 0u; };
    // The decoder takes data for a JPEG when it starts with FF, any number of FF fill bytes, and D8.
    size_t start = 0;
    while (start < size && data[start] == 0xFF)
        ++start;
    if (start == 0 || byteAt(start) != 0xD8)
        return true;
    // Every table stb_image builds follows an FF C4 pair, so checking at every such pair, wherever it
    // lies, covers all of them. The tables are read the way the decoder reads them: as many as the
    // segment length leaves room for, bytes past the end counting as 0.
    for (size_t marker = start + 1; marker + 1 < size; ++marker) {
        if (data[marker] != 0xFF || data[marker + 1] != 0xC4)
            continue;
        long remaining = static_cast<long>(byteAt(marker + 2) << 8 | byteAt(marker + 3)) - 2;
        size_t at = marker + 4;
        while (remaining > 0 && at < size) {
            const unsigned tableClass = byteAt(at) >> 4;
            const unsigned tableId = byteAt(at) & 15;
            if (tableClass > 1 || tableId > 3)
                break; // the decoder refuses this table itself
            unsigned codes = 0;
            for (size_t i = 1; i <= 16; ++i)
                codes += byteAt(at + i);
            if (codes > 256)
                return false;
            at += 17 + codes;
            remaining -= 17 + static_cast<long>(codes);
        }
    }
    return true;
}

bool pngChunksFit(const unsigned char* data, size_t size) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < sizeof signature || std::memcmp(data, signature, sizeof signature) != 0)
        return true;
    // Each chunk: 4 bytes of length, 4 of type, the data, 4 of checksum.
    size_t at = sizeof signature;
    while (at + 8 <= size) {
        const size_t length = static_cast<size_t>(data[at]) << 24 | static_cast<size_t>(data[at + 1]) << 16 |
                              static_cast<size_t>(data[at + 2]) << 8 | data[at + 3];
        if (length > size - at - 8)
            return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0)
            return true;
        at += 12 + length;
    }
    return true;
}

DecodedImage decodeImage(const unsigned char* data, size_t size, int maxDimension, int desiredChannels) {
    DecodedImage image;
    if (size == 0 || size > static_cast<size_t>(INT_MAX) || !jpegHuffmanTablesFit(data, size) ||
        !pngChunksFit(data, size))
        return image;
    const int length = static_cast<int>(size);
    int width = 0;
    int height = 0;
    int channels = 0;
    const bool sized = stbi_info_from_memory(data, length, &width, &height, &channels) != 0;
    if (!sized || width < 1 || height < 1 || width > maxDimension || height > maxDimension)
        return image;
    if (desiredChannels < 0 || desiredChannels > 4)
        return image;
    image.pixels =
        stbi_load_from_memory(data, length, &image.width, &image.height, &image.channels, desiredChannels);
    if (!image.pixels)
        return DecodedImage{};
    if (desiredChannels != 0)
        image.channels = desiredChannels;
    image.format = pixelFormatForChannels(image.channels);
    if (image.format == 0)
        releaseImage(image);
    return image;
}

DecodedImage decodeImageFile(const std::string& path, int maxDimension, int desiredChannels) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return DecodedImage{};
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    size_t got = 0;
    // Read whole (a folder opens but reads nothing); past INT_MAX bytes stb_image could not take it.
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 &&
           bytes.size() <= static_cast<size_t>(INT_MAX))
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    return decodeImage(bytes.data(), bytes.size(), maxDimension, desiredChannels);
}

bool imageAllZero(const DecodedImage& image) {
    if (!image.pixels || image.width <= 0 || image.height <= 0 || image.channels <= 0)
        return false;
    const size_t size = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                        static_cast<size_t>(image.channels);
    return std::all_of(image.pixels, image.pixels + size, [](unsigned char byte) { return byte == 0; });
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
