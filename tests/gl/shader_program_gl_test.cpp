// Building programs on a real context: a link failure gives id 0 after saying so, a successful link
// leaves no stage attached, and setters skip names the program lacks. (Missing files and compile
// errors are checked with their messages by the shader robustness script; the shipped programs build
// in every picture the pass and scene tests take.)
#include "gl_context.hpp"
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* vertexOk =
    "#version 430 core\nlayout(location = 0) in vec3 p;\nvoid main() { gl_Position = vec4(p, 1.0); }\n";
const char* fragmentOk = "#version 430 core\nout vec4 c;\nuniform float k;\nvoid main() { c = vec4(k); }\n";

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
