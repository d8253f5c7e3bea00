// Builds the variants of the static lit program and picks one per draw.
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

int lampsReachingMesh(const Mesh& mesh, const glm::mat4& worldFromLocal, const LightSet& lights) {
    const int boxMask = lampsReaching(mesh.boundsMin, mesh.boundsMax, worldFromLocal, lights);
    if (mesh.partBounds.empty())
        return boxMask;
    int mask = 0;
    for (int i = 0; i < kLitLampCount; ++i) {
        if ((boxMask & (1 << i)) == 0)
            continue;
        const glm::vec3& lamp = lights.pointPositions[static_cast<size_t>(i)];
        for (const auto& [partMin, partMax] : mesh.partBounds)
            // Not "<=": a part whose distance is not a number counts as reached.
            if (!(distanceToPlacedBox(lamp, partMin, partMax, worldFromLocal) > kLampRange * kRangeMargin)) {
                mask |= 1 << i;
                break;
            }
    }
    return mask;
}

bool meshHasBakedLight(const Mesh& mesh) {
    return mesh.textures.size() < 2 || !mesh.textures[1].black;
}

int litVariantKey(int lamps, const LightSet& lights, const MaterialParams& material, float gamma,
                  bool gammaEnabled, bool bakedLight) {
    const bool moonlit = lights.directionalCount > 0 && !lights.directionalDirections.empty() &&
                         !lights.directionalColors.empty();
    const bool gammaTwo = gammaEnabled && gamma == 2.0f;
    return (lamps & kAllLamps) | (moonlit ? kMoonlightBit : 0) |
           (material.isReflective ? kReflectiveBit : 0) | (gammaTwo ? 0 : kAnyGammaBit) |
           (bakedLight ? kBakedLightBit : 0);
}

const ShaderProgram& litProgramFor(LitVariants& variants, const ShaderProgram& fullProgram, int key) {
    if (key < 0 || key >= kFullLitProgram || fullProgram.id == 0)
        return fullProgram;
    const size_t slot = static_cast<size_t>(key);
    if (!variants.built[slot]) {
        std::string fragment =
            withDefine(readShaderSource(variants.shaderFolder + "basic_lighting_Phong.frag"),
                       "LAMP_MASK " + std::to_string(key & kAllLamps));
        if ((key & kMoonlightBit) == 0)
            fragment = withDefine(fragment, "NO_MOONLIGHT");
        if ((key & kReflectiveBit) == 0)
            fragment = withDefine(fragment, "MATTE");
        if ((key & kAnyGammaBit) == 0)
            fragment = withDefine(fragment, "GAMMA_TWO");
        if ((key & kBakedLightBit) == 0)
            fragment = withDefine(fragment, "NO_BAKED_LIGHT");
        variants.programs[slot] =
            buildProgram(readShaderSource(variants.shaderFolder + "basic_lighting_Phong.vert"), fragment);
        variants.built[slot] = true;
    }
    return variants.programs[slot].id != 0 ? variants.programs[slot] : fullProgram;
}
