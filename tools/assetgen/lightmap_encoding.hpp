// How baked light is stored in a lightmap texel: irradiance E is compressed to E / (1 + E), so bright
// fire glow does not clip, and square-rooted, so dark interiors keep their detail in 8 bits. The
// viewer's lit shader undoes it with one square, one subtraction and one division (decodeLightmap is
// the same arithmetic), which costs far less per pixel on llvmpipe than exponentials and logarithms.
#pragma once

#include <glm/glm.hpp>

inline glm::vec3 encodeLightmap(const glm::vec3& e) {
    const glm::vec3 positive = glm::max(e, glm::vec3(0.0f));
    return glm::sqrt(positive / (glm::vec3(1.0f) + positive));
}

inline glm::vec3 decodeLightmap(const glm::vec3& texel) {
    const glm::vec3 c = glm::min(texel * texel, glm::vec3(0.995f));
    return c / (glm::vec3(1.0f) - c);
}
