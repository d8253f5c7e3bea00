// Building programs on a real context: failures give id 0 with the designed messages, a successful
// link leaves no stage attached, and each of the three shapes really runs its stages.
#include "gl_context.hpp"
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* vertexOk =
    "#version 430 core\nlayout(location = 0) in vec3 p;\nvoid main() { gl_Position = vec4(p, 1.0); }\n";
const char* fragmentOk = "#version 430 core\nout vec4 c;\nuniform float k;\nvoid main() { c = vec4(k); }\n";

// A point in, a quad over the whole viewport out: only a working geometry stage fills the corners.
const char* pointVertex = "#version 430 core\nvoid main() { gl_Position = vec4(0.0, 0.0, 0.0, 1.0); }\n";
const char* quadGeometry = "#version 430 core\n"
                           "layout(points) in;\n"
                           "layout(triangle_strip, max_vertices = 4) out;\n"
                           "void main() {\n"
                           "    gl_Position = vec4(-1.0, -1.0, 0.0, 1.0); EmitVertex();\n"
                           "    gl_Position = vec4(1.0, -1.0, 0.0, 1.0); EmitVertex();\n"
                           "    gl_Position = vec4(-1.0, 1.0, 0.0, 1.0); EmitVertex();\n"
                           "    gl_Position = vec4(1.0, 1.0, 0.0, 1.0); EmitVertex();\n"
                           "    EndPrimitive();\n"
                           "}\n";
const char* colorFragment =
    "#version 430 core\nout vec4 c;\nuniform vec3 color;\nvoid main() { c = vec4(color, 1.0); }\n";

void drainGlErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

// Draws one point into a fresh 8 x 8 target and returns its pixels, bottom row first.
std::vector<unsigned char> drawPointInto8x8(const ShaderProgram& program) {
    GLuint target = 0;
    GLuint color = 0;
    GLuint vao = 0;
    glGenTextures(1, &color);
    glBindTexture(GL_TEXTURE_2D, color);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &target);
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color, 0);
    glViewport(0, 0, 8, 8);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    program.use();
    program.setVec3("color", glm::vec3(1.0f, 0.5f, 0.0f));
    glDrawArrays(GL_POINTS, 0, 1);
    std::vector<unsigned char> pixels(8 * 8 * 4);
    glReadPixels(0, 0, 8, 8, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteVertexArrays(1, &vao);
    glDeleteFramebuffers(1, &target);
    glDeleteTextures(1, &color);
    return pixels;
}

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
    // The driver's log follows on the next line.
    const std::string log = out.substr(std::string("Failed to compile shader!\n").size());
    EXPECT_GT(log.size(), 1u) << out;
    EXPECT_EQ(log.back(), '\n');
    drainGlErrors();
}

TEST(BuildProgram, AMissingFileShowsAsTheReadMessageThenTheCompileMessage) {
    ::testing::internal::CaptureStderr();
    const std::string text = readShaderSource("no/such/stage.frag");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Could not read file no/such/stage.frag. File does not exist.\n");
    ::testing::internal::CaptureStdout();
    const ShaderProgram program = buildProgram(vertexOk, text);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(program.id, 0u);
    EXPECT_EQ(out.rfind("Failed to compile shader!\n", 0), 0u) << out;
    drainGlErrors();
}

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

TEST(BuildProgram, SettersLookUpNamesAndSkipUnknownOnesWithoutAnError) {
    const ShaderProgram program = buildProgram(vertexOk, fragmentOk);
    ASSERT_NE(program.id, 0u);
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

TEST(BuildProgram, ThreeStagesTakeTheirTextsAsVertexFragmentGeometry) {
    const ShaderProgram program = buildProgram(pointVertex, colorFragment, quadGeometry);
    ASSERT_NE(program.id, 0u);
    GLint attached = -1;
    glGetProgramiv(program.id, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 0);
    const std::vector<unsigned char> pixels = drawPointInto8x8(program);
    glUseProgram(0);
    // Corner pixels are far from the single point: they are coloured only if the geometry stage ran.
    for (size_t corner : {size_t{0}, size_t{7 * 4}, size_t{56 * 4}, size_t{63 * 4}}) {
        EXPECT_EQ(pixels[corner + 0], 255) << corner;
        EXPECT_NEAR(pixels[corner + 1], 128, 1) << corner;
        EXPECT_EQ(pixels[corner + 2], 0) << corner;
    }
}

TEST(BuildComputeProgram, RunsAndWritesItsStorageBuffer) {
    const char* doubling =
        "#version 430 core\n"
        "layout(local_size_x = 4) in;\n"
        "layout(std430, binding = 0) buffer Values { uint values[]; };\n"
        "void main() { values[gl_GlobalInvocationID.x] = gl_GlobalInvocationID.x * 2u; }\n";
    const ShaderProgram program = buildComputeProgram(doubling);
    ASSERT_NE(program.id, 0u);
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer);
    const GLuint zeros[8] = {};
    glBufferData(GL_SHADER_STORAGE_BUFFER, sizeof(zeros), zeros, GL_DYNAMIC_READ);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, buffer);
    program.use();
    glDispatchCompute(2, 1, 1);
    glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT);
    GLuint values[8] = {};
    glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, sizeof(values), values);
    for (GLuint i = 0; i < 8; ++i)
        EXPECT_EQ(values[i], i * 2) << i;
    glUseProgram(0);
    glDeleteBuffers(1, &buffer);
}
