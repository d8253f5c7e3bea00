// The smoke sprites of an emitter as one two-dimensional array texture: sized from a probe image,
// layer i filled from image number layerCount − i.
#pragma once

#include <glad/gl.h>

#include <string>

// Side of the sprite array when neither the probe nor any layer image gives a size.
constexpr int fallbackSpriteSize = 64;

struct SpriteSize {
    int width = 0;
    int height = 0;
};

// "textures/smoke" + 3 + ".png".
std::string spriteFileName(const char* prefix, int number);

// Width and height of an image file without keeping its pixels; {0, 0} when it cannot be opened or
// decoded.
SpriteSize readSpriteSize(const std::string& path);

// Size of the array: the probe image's, else the first layer image (in layer order) that decodes,
// else fallbackSpriteSize square. Prints one line when the probe cannot be used.
SpriteSize chooseSpriteSize(const char* prefix, int probeNumber, int layerCount);

// Creates the array texture on unit 0 and fills its layers, printing each layer's file name before
// opening it. A layer whose file is missing, undecodable or larger than the array stays without data.
// Leaves the texture bound to unit 0 as GL_TEXTURE_2D_ARRAY.
GLuint loadSpriteArray(const char* prefix, int probeNumber, int layerCount);
