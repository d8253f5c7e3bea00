// Builds the lamp variants of the static lit program and picks one per draw.
#include "render/lit_variants.hpp"

#include "render/visibility.hpp"

#include <algorithm>

namespace {

// Interpolated positions stray from the mesh's box only by rounding; a lamp this much further out
// than its range contributes zero to every fragment of the draw.
constexpr float kRangeMargin = 1.01f;

} // namespace

LitVariants createLitVariants(const std::string& shaderFolder) {
    LitVariants variants;
    variants.shaderFolder = shaderFolder;
    return variants;
}

int lampsReaching(const glm::vec3& boxMin, const glm::vec3& boxMax, const glm::mat4& worldFromLocal,
                  const LightSet& lights) {
    const int count =
        std::min({lights.pointCount, kLitLampCount, static_cast<int>(lights.pointPositions.size())});
    int mask = 0;
    for (int i = 0; i < count; ++i)
        if (distanceToPlacedBox(lights.pointPositions[static_cast<size_t>(i)], boxMin, boxMax,
                                worldFromLocal) <= kLampRange * kRangeMargin)
            mask |= 1 << i;
    return mask;
}

const ShaderProgram& litProgramFor(LitVariants& variants, const ShaderProgram& fullProgram, int mask) {
    if (mask < 0 || mask >= kAllLamps || fullProgram.id == 0)
        return fullProgram;
    const size_t slot = static_cast<size_t>(mask);
    if (!variants.built[slot]) {
        const std::string define = "LAMP_MASK " + std::to_string(mask);
        variants.programs[slot] = buildProgram(
            readShaderSource(variants.shaderFolder + "basic_lighting_Phong.vert"),
            withDefine(readShaderSource(variants.shaderFolder + "basic_lighting_Phong.frag"), define));
        variants.built[slot] = true;
    }
    return variants.programs[slot].id != 0 ? variants.programs[slot] : fullProgram;
}
