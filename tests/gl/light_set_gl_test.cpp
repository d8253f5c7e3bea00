// applyLightSet on the static lit program, read back with glGetUniform: exactly the handed-over
// entries are written, the directional loop keeps its last light, and the fixed values hold.
#include "render/light_set.hpp"
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

glm::vec3 uniformVec3(GLuint program, const std::string& name) {
    glm::vec3 value(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name.c_str()), &value.x);
    return value;
}

float uniformFloat(GLuint program, const std::string& name) {
    float value = 0.0f;
    glGetUniformfv(program, glGetUniformLocation(program, name.c_str()), &value);
    return value;
}

int uniformInt(GLuint program, const std::string& name) {
    int value = 0;
    glGetUniformiv(program, glGetUniformLocation(program, name.c_str()), &value);
    return value;
}

std::string at(const char* prefix, int i) {
    return prefix + std::to_string(i) + "]";
}

// Four point lights with values that tell the lights and the fields apart.
LightSet fourLights() {
    LightSet lights;
    for (int i = 0; i < 4; ++i) {
        const float f = static_cast<float>(i + 1);
        lights.pointColors.push_back(glm::vec3(0.1f * f, 0.2f, 0.3f));
        lights.pointPositions.push_back(glm::vec3(f, -f, 2.0f * f));
        lights.pointConstant.push_back(0.2f + f);
        lights.pointLinear.push_back(0.02f + f);
        lights.pointQuadratic.push_back(0.1f + f);
    }
    lights.pointCount = 3;
    lights.directionalDirections = {glm::vec3(0.3f, -0.5f, -1.0f), glm::vec3(-1.0f, -2.0f, -3.0f)};
    lights.directionalColors = {glm::vec3(0.8f, 0.6f, 0.6f), glm::vec3(0.25f, 0.5f, 0.75f)};
    lights.directionalCount = 1;
    return lights;
}

// Marks every point-light entry the shader holds (one per street lamp) and the directional
// uniforms with values no call would write.
constexpr int kShaderPointLights = 3;

void markAll(const ShaderProgram& program) {
    program.use();
    for (int i = 0; i < kShaderPointLights; ++i) {
        program.setVec3(at("lightColor[", i), glm::vec3(-7.0f));
        program.setVec3(at("lightPos[", i), glm::vec3(-7.0f));
        program.setFloat(at("constant[", i), -7.0f);
        program.setFloat(at("linear[", i), -7.0f);
        program.setFloat(at("quadratic[", i), -7.0f);
    }
    program.setVec3("lightDirect", glm::vec3(-7.0f));
    program.setVec3("directLightColor", glm::vec3(-7.0f));
}

void apply(const ShaderProgram& program, const LightSet& lights, const MaterialParams& material,
           const AppState& switches) {
    applyLightSet(program, glm::vec3(1.0f, 2.0f, 3.0f), lights, glm::mat4(2.0f), material, 2.2f, switches);
}

} // namespace

TEST(ApplyLightSet, PointCountTwoWritesIndicesZeroAndOneOnlyEvenWithMoreLightsInTheArrays) {
    const ShaderProgram program = testPrograms().phong;
    ASSERT_NE(program.id, 0u);
    markAll(program);
    LightSet lights = fourLights();
    lights.pointCount = 2;
    apply(program, lights, MaterialParams{}, AppState{});

    EXPECT_EQ(uniformInt(program.id, "numpointlights"), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(uniformVec3(program.id, at("lightColor[", i)), lights.pointColors[static_cast<size_t>(i)]);
        EXPECT_EQ(uniformVec3(program.id, at("lightPos[", i)), lights.pointPositions[static_cast<size_t>(i)]);
        EXPECT_EQ(uniformFloat(program.id, at("constant[", i)), lights.pointConstant[static_cast<size_t>(i)]);
        EXPECT_EQ(uniformFloat(program.id, at("linear[", i)), lights.pointLinear[static_cast<size_t>(i)]);
        EXPECT_EQ(uniformFloat(program.id, at("quadratic[", i)),
                  lights.pointQuadratic[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(uniformVec3(program.id, "lightColor[2]"), glm::vec3(-7.0f));
    EXPECT_EQ(uniformVec3(program.id, "lightPos[2]"), glm::vec3(-7.0f));
    EXPECT_EQ(uniformFloat(program.id, "constant[2]"), -7.0f);
    EXPECT_EQ(uniformFloat(program.id, "linear[2]"), -7.0f);
    EXPECT_EQ(uniformFloat(program.id, "quadratic[2]"), -7.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ApplyLightSet, CountZeroHandsOverNoLightAndKeepsWhatTheProgramHad) {
    const ShaderProgram program = testPrograms().phong;
    markAll(program);
    LightSet lights = fourLights();
    lights.pointCount = 0;
    lights.directionalCount = 0;
    apply(program, lights, MaterialParams{}, AppState{});
    EXPECT_EQ(uniformInt(program.id, "numpointlights"), 0);
    EXPECT_EQ(uniformInt(program.id, "numdirectlights"), 0);
    EXPECT_EQ(uniformVec3(program.id, "lightColor[0]"), glm::vec3(-7.0f));
    EXPECT_EQ(uniformFloat(program.id, "quadratic[0]"), -7.0f);
    EXPECT_EQ(uniformVec3(program.id, "lightDirect"), glm::vec3(-7.0f));
    EXPECT_EQ(uniformVec3(program.id, "directLightColor"), glm::vec3(-7.0f));
}

TEST(ApplyLightSet, DirectionalLightsShareOneUniformSoTheLastOneWins) {
    const ShaderProgram program = testPrograms().phong;
    LightSet lights = fourLights();
    lights.directionalCount = 2;
    apply(program, lights, MaterialParams{}, AppState{});
    EXPECT_EQ(uniformInt(program.id, "numdirectlights"), 2);
    EXPECT_EQ(uniformVec3(program.id, "lightDirect"), lights.directionalDirections[1]);
    EXPECT_EQ(uniformVec3(program.id, "directLightColor"), lights.directionalColors[1]);
}

TEST(ApplyLightSet, CountsBeyondTheArraysAreCutToWhatTheArraysHold) {
    const ShaderProgram program = testPrograms().phong;
    markAll(program);
    LightSet lights = fourLights();
    lights.pointColors.resize(2);
    lights.pointCount = 6;
    lights.directionalCount = 5;
    apply(program, lights, MaterialParams{}, AppState{});
    // Two colours, four of everything else: two lights can be handed over.
    EXPECT_EQ(uniformInt(program.id, "numpointlights"), 2);
    EXPECT_EQ(uniformInt(program.id, "numdirectlights"), 2);
    EXPECT_EQ(uniformVec3(program.id, "lightColor[1]"), lights.pointColors[1]);
    EXPECT_EQ(uniformVec3(program.id, "lightPos[2]"), glm::vec3(-7.0f));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ApplyLightSet, SetsTheFixedAlphaMaterialSwitchesMatrixAndSamplers) {
    const ShaderProgram program = testPrograms().phong;
    AppState switches;
    switches.gammaEnabled = false;
    switches.ambientOcclusionEnabled = true;
    const MaterialParams material{0.7f, 0.5f, 0.4f, true};
    apply(program, fourLights(), material, switches);

    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program.id);
    EXPECT_FLOAT_EQ(uniformFloat(program.id, "alpha"), 0.6f);
    EXPECT_FLOAT_EQ(uniformFloat(program.id, "ambientStrength"), 0.7f);
    EXPECT_FLOAT_EQ(uniformFloat(program.id, "diffuseStrength"), 0.5f);
    EXPECT_FLOAT_EQ(uniformFloat(program.id, "specularStrength"), 0.4f);
    EXPECT_FLOAT_EQ(uniformFloat(program.id, "gamma"), 2.2f);
    EXPECT_EQ(uniformInt(program.id, "gammaEnabled"), 0);
    EXPECT_EQ(uniformInt(program.id, "ambientOcclusionEnabled"), 1);
    EXPECT_EQ(uniformInt(program.id, "isReflective"), 1);
    EXPECT_EQ(uniformVec3(program.id, "viewPos"), glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(uniformInt(program.id, "diffuse"), 0);
    EXPECT_EQ(uniformInt(program.id, "specular"), 1);
    float matrix[16] = {};
    glGetUniformfv(program.id, glGetUniformLocation(program.id, "viewProjMatrix"), matrix);
    EXPECT_EQ(matrix[0], 2.0f);
    EXPECT_EQ(matrix[1], 0.0f);

    switches.gammaEnabled = true;
    switches.ambientOcclusionEnabled = false;
    apply(program, fourLights(), MaterialParams{}, switches);
    EXPECT_EQ(uniformInt(program.id, "gammaEnabled"), 1);
    EXPECT_EQ(uniformInt(program.id, "ambientOcclusionEnabled"), 0);
    EXPECT_EQ(uniformInt(program.id, "isReflective"), 0);
    EXPECT_FLOAT_EQ(uniformFloat(program.id, "alpha"), 0.6f);
}
