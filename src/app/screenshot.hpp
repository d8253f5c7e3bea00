// Writes what the window shows as a PNG file: the back buffer of the default framebuffer, read after a
// frame is rendered and before it is swapped.
#pragma once

#include <glad/gl.h>

#include <string>
#include <vector>

// Turns bottom-up GL rows (the first row is the bottom of the image) into top-down PNG rows in place.
void flipRows(std::vector<unsigned char>& pixels, int width, int height, int bytesPerPixel);

// Reads width x height RGB pixels from the window's back buffer, top row first. Every piece of GL
// state it changes is restored.
std::vector<unsigned char> readBackBuffer(int width, int height);

// Writes upright RGB pixels as a PNG file; false when the file cannot be written.
bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& pixels);

// Reads width x height RGB pixels from the window's back buffer and writes them upright to path.
// Returns false, after printing one line that names the file, when it cannot be written.
bool writeScreenshot(const std::string& path, int width, int height);
