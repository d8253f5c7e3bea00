// Shared pieces of the car generator: the body's texture layout, which both the geometry (texture
// coordinates) and the painter use.
#pragma once

#include <glm/glm.hpp>

// Texture coordinates of a body surface point: each face orientation has its own region of the
// 1024 x 512 body texture (sides, top view, front and back).
glm::vec2 carBodyUv(const glm::vec3& p, const glm::vec3& n);
// Paints the body texture.
struct Image;
void paintCarBody(Image& color);
