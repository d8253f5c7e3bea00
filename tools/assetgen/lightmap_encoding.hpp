// How baked light is stored in a lightmap texel: irradiance E (moonlight on a surface facing the moon
// is about 0.5) is compressed by 1 - exp(-2E) and gamma-encoded, so dark interiors keep their detail
// in 8 bits and bright lamp pools do not clip. A shader that multiplies by the texel gets a sensible
// 0..1 light factor; decodeLightmap recovers E.
#pragma once

#include <glm/glm.hpp>

inline glm::vec3 encodeLightmap(const glm::vec3& e) {
    return glm::pow(glm::vec3(1.0f) - glm::exp(-2.0f * glm::max(e, glm::vec3(0.0f))), glm::vec3(1.0f / 2.2f));
}

inline glm::vec3 decodeLightmap(const glm::vec3& texel) {
    const glm::vec3 c = glm::min(glm::pow(texel, glm::vec3(2.2f)), glm::vec3(0.995f));
    return -glm::log(glm::vec3(1.0f) - c) / 2.0f;
}
