// One image file decoded for a material texture or lightmap: its pixels, size and the GL pixel format
// that matches its channel count, kept apart from GL so that the decoding can be tested and fuzzed on
// its own; the upload that follows is the one GL step.
#pragma once

#include <glad/gl.h>

#include <cstddef>
#include <string>

struct DecodedImage {
    unsigned char* pixels = nullptr; // stb_image's memory, rows top first; null when nothing was decoded
    int width = 0;
    int height = 0;
    int channels = 0;  // of the pixels: the file's own count, or the count asked for
    GLenum format = 0; // GL_RED, GL_RG, GL_RGB or GL_RGBA
};

// Every OpenGL 4.3 context accepts 2D and array textures at least this wide and tall.
constexpr int guaranteedMaxTextureSize = 16384;

// The pixel format for a file's channel count: 1 red, 2 grey and alpha (as red and green), 3 RGB,
// 4 RGBA; 0 for any other count.
GLenum pixelFormatForChannels(int channels);

// Whether every Huffman table of a JPEG holds at most the 256 codes the format allows (true for data
// that is no JPEG). stb_image 2.27, as Debian 12 ships it, does not check this and writes a table with
// more codes past the end of its arrays; such a file is refused before the decoder sees it.
bool jpegHuffmanTablesFit(const unsigned char* data, size_t size);

// Whether every chunk of a PNG lies within the data (true for data that is no PNG). stb_image
// allocates an image-data chunk's declared length before it finds the bytes missing: 400 bytes of
// file could ask for 2 GB.
bool pngChunksFit(const unsigned char* data, size_t size);

// Decodes the bytes of a JPEG or PNG file (no other format) with their own channel count, or converted
// to desiredChannels (1 to 4) when that is not 0. An image wider or
// taller than maxDimension is refused from its header alone, before any pixel memory is taken: a few bytes of
// header can claim an image of gigabytes that would take seconds to decode and could never be
// uploaded. Returns an image without pixels when the bytes are no image stb_image reads, would
// overrun the decoder (jpegHuffmanTablesFit, pngChunksFit), have no usable format or are too large.
DecodedImage decodeImage(const unsigned char* data, size_t size, int maxDimension, int desiredChannels = 0);

// decodeImage on the whole file; an image without pixels when the file cannot be opened or read.
DecodedImage decodeImageFile(const std::string& path, int maxDimension, int desiredChannels = 0);

// Whether the image has pixels and every byte of them is zero.
bool imageAllZero(const DecodedImage& image);

// Gives the pixels back to stb_image; the record is left without pixels.
void releaseImage(DecodedImage& image);

// Defines level 0 of `texture` from the decoded pixels, generates its mipmaps and sets repeat wrapping
// with trilinear filtering. Leaves the texture bound to GL_TEXTURE_2D of the active unit and the unpack
// alignment as it found it.
void uploadMipmappedTexture(GLuint texture, const DecodedImage& image);
