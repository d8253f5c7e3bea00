// Building programs on a real context: a link failure gives id 0 after saying so, a successful link
// leaves no stage attached, setters skip names the program lacks, and every render program builds
// from its file pair silently with the interface the passes set. (Missing files and compile errors are
// checked with their messages by the shader robustness script.)
#include "render/shader_program.hpp"
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

const char* vertexOk =
    "#version 430 core\nlayout(location = 0) in vec3 p;\nvoid main() { gl_Position = vec4(p, 1.0); }\n";
const char* fragmentOk = "#version 430 core\nout vec4 c;\nuniform float k;\nvoid main() { c = vec4(k); }\n";

void drainGlErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

struct ProgramFiles {
    const char* vertex;
    const char* fragment;
    const char* uniforms; // names the passes set that the program must really use, space-separated
};

const ProgramFiles kRenderPrograms[] = {
    {"simpleDepthShader.vert", "simpleDepthShader.frag", "lightSpaceMatrix model"},
    {"color.vert", "color.frag", ""},
    {"basic_lighting_Phong.vert", "basic_lighting_Phong.frag",
     "numpointlights numdirectlights lightColor[2] lightPos[2] constant[2] linear[2] quadratic[2] "
     "lightDirect "
     "directLightColor viewPos alpha ambientStrength diffuseStrength specularStrength gamma gammaEnabled "
     "ambientOcclusionEnabled isReflective viewProjMatrix diffuse specular ssao shadowMap modelMatrix"},
    {"simpleDepthWendrel.vert", "simpleDepthShader.frag",
     "gBones[0] gBones[99] modelMatrix lightSpaceMatrix"},
    {"skinning_phong_shader.vert", "geometryShader.frag", "gBones[0] modelMatrix viewProjMatrix"},
    {"skinning_phong_shader.vert", "skinning_phong_shader.frag",
     "gBones[0] modelMatrix viewProjMatrix numpointlights lightColor[0] lightDirect alpha gamma gammaEnabled "
     "ambientOcclusionEnabled isReflective diffuse ssao"},
    {"shaderSSAO.vert", "shaderSSAOBlur.frag", ""},
    {"shaderSSAO.vert", "shaderSSAO.frag", "samples[0] samples[31] projection gPosition gNormal texNoise"},
    {"geometryShader.vert", "geometryShader.frag",
     "model view viewProjMatrix shadowMap lightSpaceMatrix lightPos"},
};

} // namespace

TEST(BuildProgram, ALinkFailureGivesIdZeroAfterSayingSo) {
    // Both stages compile, but the fragment stage reads an input no earlier stage writes.
    const char* fragmentNeedsInput =
        "#version 430 core\nin vec3 fromNowhere;\nout vec4 c;\nvoid main() { c = vec4(fromNowhere, 1.0); }\n";
    ::testing::internal::CaptureStdout();
    const ShaderProgram program = buildProgram(vertexOk, fragmentNeedsInput);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(program.id, 0u);
    EXPECT_EQ(out.find("Failed to compile shader!"), std::string::npos) << out;
    EXPECT_EQ(out.rfind("Failed to link shader program!\n", 0), 0u) << out;
    drainGlErrors();
}

TEST(BuildProgram, LinksDetachesItsStagesAndSettersSkipUnknownNamesWithoutAnError) {
    const ShaderProgram program = buildProgram(vertexOk, fragmentOk);
    ASSERT_NE(program.id, 0u);
    GLint attached = -1;
    glGetProgramiv(program.id, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 0);
    drainGlErrors();
    program.use();
    program.setFloat("k", 0.25f);
    program.setFloat("noSuchUniform", 1.0f);
    program.setMat4("noSuchMatrix", glm::mat4(1.0f));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLfloat value = 0.0f;
    glGetUniformfv(program.id, glGetUniformLocation(program.id, "k"), &value);
    EXPECT_EQ(value, 0.25f);
    glUseProgram(0);
}

TEST(ShaderFiles, EveryRenderProgramBuildsSilentlyWithItsInterface) {
    for (const ProgramFiles& files : kRenderPrograms) {
        SCOPED_TRACE(std::string(files.vertex) + " + " + files.fragment);
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const ShaderProgram program = loadShaderProgram(sourceDir(), files.vertex, files.fragment);
        const std::string out = ::testing::internal::GetCapturedStdout();
        const std::string err = ::testing::internal::GetCapturedStderr();
        ASSERT_NE(program.id, 0u) << out << err;
        EXPECT_EQ(out, "");
        EXPECT_EQ(err, "");
        std::istringstream names(files.uniforms);
        for (std::string name; names >> name;)
            EXPECT_NE(glGetUniformLocation(program.id, name.c_str()), -1) << name;
        glDeleteProgram(program.id);
    }
}
