// One image file decoded for a material texture or lightmap: its pixels, size and the GL pixel format
// that matches its channel count, kept apart from GL so that the decoding can be tested and fuzzed on
// its own; the upload that follows is the one GL step.
#pragma once

#include <glad/gl.h>

#include <string>

struct DecodedImage {
    unsigned char* pixels = nullptr; // stb_image's memory, rows top first; null when nothing was decoded
    int width = 0;
    int height = 0;
    int channels = 0;
    GLenum format = 0; // GL_RED, GL_RG, GL_RGB or GL_RGBA
};

// The pixel format for a file's channel count: 1 red, 2 grey and alpha (as red and green), 3 RGB,
// 4 RGBA; 0 for any other count.
GLenum pixelFormatForChannels(int channels);

// Decodes the file with its own channel count. An image wider or taller than maxDimension is refused
// from its header alone, before any pixel memory is taken: a few bytes of header can claim an image of
// gigabytes that would take seconds to decode and could never be uploaded. Returns an image without
// pixels when the file cannot be opened, is no image stb_image reads, has no usable format or is too
// large.
DecodedImage decodeImageFile(const std::string& path, int maxDimension);

// Gives the pixels back to stb_image; the record is left without pixels.
void releaseImage(DecodedImage& image);

// Defines level 0 of `texture` from the decoded pixels, generates its mipmaps and sets repeat wrapping
// with trilinear filtering. Leaves the texture bound to GL_TEXTURE_2D of the active unit and the unpack
// alignment as it found it.
void uploadMipmappedTexture(GLuint texture, const DecodedImage& image);
