// Building programs on a real context: a link failure gives id 0 after saying so. (Missing files and
// compile errors are checked with their messages by the shader robustness script; the shipped programs build
// in every picture the pass and scene tests take.)
#include "gl_context.hpp"
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* vertexOk =
    "#version 430 core\nlayout(location = 0) in vec3 p;\nvoid main() { gl_Position = vec4(p, 1.0); }\n";

void drainGlErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

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
