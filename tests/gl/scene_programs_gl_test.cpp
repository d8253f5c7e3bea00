// Scene assembly on a real context: the eleven programs come from the right files, each file compiled
// as the stage its name says. (The messages for missing files are checked by the shader robustness
// script.)
#include "app/scene.hpp"
#include "gl_context.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The files buildScene reads, in its program table's order (a shared stage is read once per program).
std::vector<std::string> readOrder() {
    std::istringstream words(
        "simpleDepthShader.frag simpleDepthShader.vert color.frag color.vert basic_lighting_Phong.frag "
        "basic_lighting_Phong.vert simpleDepthShader.frag simpleDepthWendrel.vert geometryShader.frag "
        "skinning_phong_shader.vert skinning_phong_shader.frag skinning_phong_shader.vert "
        "particleFragmentShader.frag particleVertexShader.vert particlegeometrieShader.gm "
        "particlecomputeShader.comp shaderSSAO.vert shaderSSAOBlur.frag shaderSSAO.vert shaderSSAO.frag "
        "geometryShader.vert geometryShader.frag");
    return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

// Each stage kind has its own body; compiled as any other kind, it fails.
std::string stageSource(const std::string& name) {
    const auto endsWith = [&](const std::string& suffix) {
        return name.size() > suffix.size() &&
               name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    if (endsWith(".vert"))
        return "#version 430 core\nout vec3 v;\nvoid main() { v = vec3(1.0); gl_Position = vec4(0.0); }\n";
    if (endsWith(".frag"))
        return "#version 430 core\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n";
    if (endsWith(".gm"))
        return "#version 430 core\nlayout(points) in;\nlayout(points, max_vertices = 1) out;\n"
               "void main() { gl_Position = gl_in[0].gl_Position; EmitVertex(); }\n";
    return "#version 430 core\nlayout(local_size_x = 1) in;\n"
           "layout(std430, binding = 0) buffer B { float b[]; };\nvoid main() { b[0] = 1.0; }\n";
}

// Runs buildScene with "../assets/shaders/" resolving into a scratch folder, then goes back.
struct SceneFolderFixture : ::testing::Test {
    fs::path previous;
    fs::path root;
    void SetUp() override {
        previous = fs::current_path();
        root = fs::path(::testing::TempDir()) /
               ("scene_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root / "run");
        fs::current_path(root / "run");
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(root);
    }
};

} // namespace

TEST_F(SceneFolderFixture, EveryProgramIsBuiltFromItsFilesAsTheStagesTheirNamesSay) {
    fs::create_directories(root / "assets" / "shaders");
    for (const std::string& file : readOrder())
        std::ofstream(root / "assets" / "shaders" / file) << stageSource(file);
    ::testing::internal::CaptureStdout();
    const Scene scene = buildScene();
    const std::string out = ::testing::internal::GetCapturedStdout();
    // The folder has no models or sprites, so their load lines follow; no program may fail.
    EXPECT_EQ(out.find("Failed to"), std::string::npos) << out;
    const ShaderProgram programs[] = {
        scene.depthProgram,          scene.colorProgram,           scene.phongProgram,
        scene.depthSkinnedProgram,   scene.geometrySkinnedProgram, scene.phongSkinnedProgram,
        scene.particleRenderProgram, scene.particleComputeProgram, scene.ssaoBlurProgram,
        scene.ssaoProgram,           scene.geometryProgram};
    std::set<GLuint> ids;
    for (const ShaderProgram& program : programs) {
        EXPECT_NE(program.id, 0u);
        ids.insert(program.id);
    }
    EXPECT_EQ(ids.size(), 11u);
    GLint hasGeometry = 0;
    glGetProgramiv(scene.particleRenderProgram.id, GL_GEOMETRY_VERTICES_OUT, &hasGeometry);
    EXPECT_EQ(hasGeometry, 1);
    GLint workGroup[3] = {};
    glGetProgramiv(scene.particleComputeProgram.id, GL_COMPUTE_WORK_GROUP_SIZE, workGroup);
    EXPECT_EQ(workGroup[0], 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
