// Every render program builds from its designed file pair without a compile or link message, and
// exposes the interface the passes set by name.
#include "render_test_scene.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

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
