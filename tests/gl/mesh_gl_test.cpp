// Meshes on a real context: the model-wide skinning array and each mesh's slice of it on the GPU, and
// which textures a draw binds. (The vertex layout is exercised by every picture the pass tests draw.)
#include "../support/scene_fixtures.hpp"
#include "gl_context.hpp"
#include "model/model.hpp"
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace {

GLuint boundTexture(GLenum unit) {
    glActiveTexture(unit);
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return static_cast<GLuint>(name);
}

} // namespace

TEST(MeshUpload, MeshesGetTheirBaseVertexAndTheirSliceOfTheSkinningArray) {
    auto scene = fixtures::scene(fixtures::node("root"),
                                 {fixtures::mesh("first", 10, {fixtures::bone("hip", {{9, 0.25f}})}),
                                  fixtures::mesh("second", 20),
                                  fixtures::mesh("third", 30,
                                                 {fixtures::bone("hip", {{0, 0.5f}, {29, 1.0f}}),
                                                  fixtures::bone("knee", {{29, 0.75f}})})});
    Model model;
    ::testing::internal::CaptureStdout();
    model.initFromScene(scene.get());
    const std::string report = ::testing::internal::GetCapturedStdout();

    // The report's lines are checked whole by the model import and bone table tests; here the totals.
    EXPECT_NE(report.find("\nTotal vertices 60 total indices 63 total bones 3\n"), std::string::npos)
        << report;
    EXPECT_EQ(model.meshBaseVertex, (std::vector<unsigned int>{0, 10, 30}));
    ASSERT_EQ(model.vertexBoneData.size(), 60u);
    EXPECT_EQ(model.vertexBoneData[9].weights[0], 0.25f);
    EXPECT_EQ(model.vertexBoneData[30].weights[0], 0.5f);
    EXPECT_EQ(model.vertexBoneData[59].boneIds[1], 1);
    ASSERT_EQ(model.meshes.size(), 3u);

    const Mesh& third = model.meshes[2];
    ASSERT_EQ(third.boneData.size(), 30u);
    std::vector<VertexBoneData> uploaded(30);
    glBindBuffer(GL_ARRAY_BUFFER, third.boneVbo);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 30 * sizeof(VertexBoneData), uploaded.data());
    EXPECT_EQ(std::memcmp(uploaded.data(), &model.vertexBoneData[30], 30 * sizeof(VertexBoneData)), 0)
        << "mesh 2's skinning buffer holds records 30 to 59";
    EXPECT_EQ(uploaded[29].weights[0], 1.0f);
    EXPECT_EQ(uploaded[29].weights[1], 0.75f);

    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, model.meshes[1].ebo);
    GLint indexBytes = 0;
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &indexBytes);
    EXPECT_EQ(indexBytes, 21 * 4);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

TEST(MeshDraw, BindsAtMostTwoTexturesAndLeavesUnitZeroActive) {
    GLuint names[5] = {};
    glGenTextures(5, names);
    for (GLuint name : names) {
        glBindTexture(GL_TEXTURE_2D, name);
        const unsigned char pixel[4] = {1, 2, 3, 4};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    }
    const std::vector<Vertex> vertices(3);
    const std::vector<unsigned int> indices{0, 1, 2};
    const Mesh three(vertices, indices,
                     {{names[0], "texture_diffuse", "a"},
                      {names[1], "texture_specular", "b"},
                      {names[2], "texture_normal", "c"}},
                     std::vector<VertexBoneData>(3));
    const Mesh one(vertices, indices, {{names[3], "texture_diffuse", "d"}}, std::vector<VertexBoneData>(3));
    const Mesh none(vertices, indices, {}, std::vector<VertexBoneData>(3));
    const ShaderProgram program =
        buildProgram("#version 430 core\nlayout(location = 0) in vec3 p;\n"
                     "void main() { gl_Position = vec4(p, 1.0); }\n",
                     "#version 430 core\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n");
    program.use();

    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, names[4]);
    three.draw();
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    EXPECT_EQ(boundTexture(GL_TEXTURE0), names[0]);
    EXPECT_EQ(boundTexture(GL_TEXTURE1), names[1]);
    EXPECT_EQ(boundTexture(GL_TEXTURE2), names[4]) << "the third texture is never bound";

    one.draw();
    EXPECT_EQ(boundTexture(GL_TEXTURE0), names[3]);
    EXPECT_EQ(boundTexture(GL_TEXTURE1), names[1]) << "unit 1 keeps the previous mesh's texture";

    glActiveTexture(GL_TEXTURE3);
    none.draw();
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    EXPECT_EQ(boundTexture(GL_TEXTURE0), names[3]);

    {
        // Meshes are copied around by value; a copy going away must not delete the shared GL objects.
        const Mesh copy = three;
    }
    EXPECT_TRUE(glIsVertexArray(three.vao));
    EXPECT_TRUE(glIsBuffer(three.vbo));
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
