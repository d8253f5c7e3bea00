// A tiny z-buffered triangle rasterizer for preview pictures: textured, lit by one directional light,
// back faces culled (counter-clockwise fronts), orthographic views.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    std::vector<float> depth;
};

struct TextureImage {
    int width = 0, height = 0, channels = 0;
    const std::uint8_t* pixels = nullptr; // top row first; sampled at row = t * height, as GL does
};

struct View {
    glm::mat4 viewProj; // model space to [-1, 1] clip space (orthographic)
    int x0, y0, size;   // the square cell of the image drawn into
};

Image makeImage(int width, int height, glm::vec3 background);
void fillCell(Image& image, const View& view, glm::vec3 color);

void drawTriangles(Image& image, const View& view, const std::vector<glm::vec3>& positions,
                   const std::vector<glm::vec3>& normals, const std::vector<glm::vec2>& uvs,
                   const std::vector<unsigned>& indices, const TextureImage& texture, glm::vec3 lightDir);

void drawLine(Image& image, const View& view, glm::vec3 a, glm::vec3 b, glm::vec3 color);
