// Building programs on a real context: failures give id 0 with the designed messages, and a
// successful link leaves no stage attached.
#include "gl_context.hpp"
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

namespace {

const char* vertexOk =
    "#version 430 core\nlayout(location = 0) in vec3 p;\nvoid main() { gl_Position = vec4(p, 1.0); }\n";
const char* fragmentOk = "#version 430 core\nout vec4 c;\nuniform float k;\nvoid main() { c = vec4(k); }\n";

} // namespace

TEST(BuildProgram, LinksAndDetachesEveryStage) {
    const ShaderProgram program = buildProgram(vertexOk, fragmentOk);
    ASSERT_NE(program.id, 0u);
    GLint attached = -1;
    glGetProgramiv(program.id, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 0);
}

TEST(BuildProgram, SyntaxErrorPrintsTheCompileMessageAndGivesIdZero) {
    ::testing::internal::CaptureStdout();
    const ShaderProgram program = buildProgram("#version 430 core\nvoid main() { oops }\n", fragmentOk);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(program.id, 0u);
    EXPECT_EQ(out.rfind("Failed to compile shader!\n", 0), 0u) << out;
    while (glGetError() != GL_NO_ERROR) {
    }
}
