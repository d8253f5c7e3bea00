// Hands a light set and a material to a lit program, uniform by uniform, by name.
#include "render/light_set.hpp"

#include <algorithm>
#include <string>

namespace {

std::string indexed(const char* prefix, int index) {
    return prefix + std::to_string(index) + "]";
}

int pointLightsAvailable(const LightSet& lights) {
    const size_t shortest =
        std::min({lights.pointColors.size(), lights.pointPositions.size(), lights.pointConstant.size(),
                  lights.pointLinear.size(), lights.pointQuadratic.size()});
    return std::min(lights.pointCount, static_cast<int>(shortest));
}

int directionalLightsAvailable(const LightSet& lights) {
    const size_t shortest = std::min(lights.directionalDirections.size(), lights.directionalColors.size());
    return std::min(lights.directionalCount, static_cast<int>(shortest));
}

} // namespace

void applyLightSet(const ShaderProgram& program, const glm::vec3& viewerPosition, const LightSet& lights,
                   const glm::mat4& viewProj, const MaterialParams& material, float gamma,
                   const AppState& switches) {
    const int pointCount = pointLightsAvailable(lights);
    const int directionalCount = directionalLightsAvailable(lights);

    program.use();
    program.setInt("numpointlights", pointCount);
    program.setInt("numdirectlights", directionalCount);
    for (int i = 0; i < pointCount; ++i) {
        program.setVec3(indexed("lightColor[", i), lights.pointColors[i]);
        program.setVec3(indexed("lightPos[", i), lights.pointPositions[i]);
        program.setFloat(indexed("constant[", i), lights.pointConstant[i]);
        program.setFloat(indexed("linear[", i), lights.pointLinear[i]);
        program.setFloat(indexed("quadratic[", i), lights.pointQuadratic[i]);
    }
    for (int j = 0; j < directionalCount; ++j) {
        program.setVec3("lightDirect", lights.directionalDirections[j]);
        program.setVec3("directLightColor", lights.directionalColors[j]);
    }
    program.setVec3("viewPos", viewerPosition);
    program.setFloat("alpha", kLitAlpha);
    program.setFloat("ambientStrength", material.ambientStrength);
    program.setFloat("diffuseStrength", material.diffuseStrength);
    program.setFloat("specularStrength", material.specularStrength);
    program.setFloat("gamma", gamma);
    program.setInt("gammaEnabled", switches.gammaEnabled ? 1 : 0);
    program.setInt("ambientOcclusionEnabled", switches.ambientOcclusionEnabled ? 1 : 0);
    program.setInt("isReflective", material.isReflective ? 1 : 0);
    program.setMat4("viewProjMatrix", viewProj);
    program.setInt("diffuse", 0);
    program.setInt("specular", 1);
}
