// applyLightSet on the static lit program, read back with glGetUniform: exactly the handed-over
// entries are written and the directional loop keeps its last light. (The materials' effect shows in the
// lit variants' and the scene's pictures.)
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

// Marks the shader's point-light entries (one per street lamp) and directional uniforms with -7.
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

// Only the first pointCount entries are written; counts beyond the arrays are cut to what they hold.
TEST(ApplyLightSet, WritesExactlyTheCountedEntriesAndCutsCountsToTheArrays) {
    const ShaderProgram program = testPrograms().phong;
    ASSERT_NE(program.id, 0u);
    const struct {
        int pointCount, directionalCount;
        size_t colors;
        int points, directionals;
    } cases[] = {{2, 1, 4, 2, 1}, {0, 0, 4, 0, 0}, {6, 5, 2, 2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.pointCount << " point lights with " << c.colors << " colours");
        markAll(program);
        LightSet lights = fourLights();
        lights.pointColors.resize(c.colors);
        lights.pointCount = c.pointCount;
        lights.directionalCount = c.directionalCount;
        apply(program, lights, MaterialParams{}, AppState{});
        EXPECT_EQ(uniformInt(program.id, "numpointlights"), c.points);
        EXPECT_EQ(uniformInt(program.id, "numdirectlights"), c.directionals);
        for (int i = 0; i < kShaderPointLights; ++i) {
            const size_t k = static_cast<size_t>(i);
            const bool written = i < c.points;
            EXPECT_EQ(uniformVec3(program.id, at("lightColor[", i)),
                      written ? lights.pointColors[k] : glm::vec3(-7.0f));
            EXPECT_EQ(uniformVec3(program.id, at("lightPos[", i)),
                      written ? lights.pointPositions[k] : glm::vec3(-7.0f));
            EXPECT_EQ(uniformFloat(program.id, at("constant[", i)),
                      written ? lights.pointConstant[k] : -7.0f);
            EXPECT_EQ(uniformFloat(program.id, at("linear[", i)), written ? lights.pointLinear[k] : -7.0f);
            EXPECT_EQ(uniformFloat(program.id, at("quadratic[", i)),
                      written ? lights.pointQuadratic[k] : -7.0f);
        }
        // The directional lights share one uniform: the last counted one wins.
        EXPECT_EQ(uniformVec3(program.id, "lightDirect"),
                  c.directionals ? lights.directionalDirections[c.directionals - 1u] : glm::vec3(-7.0f));
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
