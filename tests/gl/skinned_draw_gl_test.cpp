// The skinned draw on a real context: bone matrices reach "gBones[i]" by decimal name, bone indices
// arrive as integers, "modelMatrix" is applied, and surplus bones are skipped.
#include "../support/scene_fixtures.hpp"
#include "gl_context.hpp"
#include "model/animation.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

// Writes each vertex's skinned position (as a shader of the skinning contract computes it) into a
// transform-feedback buffer instead of rasterising.
const char* captureVertexText = R"(#version 430 core
layout(location = 0) in vec3 position;
layout(location = 5) in ivec4 boneIds;
layout(location = 6) in vec4 weights;
uniform mat4 gBones[11];
uniform mat4 modelMatrix;
out vec3 skinned;
void main() {
    mat4 skin = gBones[boneIds[0]] * weights[0] + gBones[boneIds[1]] * weights[1] +
                gBones[boneIds[2]] * weights[2] + gBones[boneIds[3]] * weights[3];
    skinned = (modelMatrix * skin * vec4(position, 1.0)).xyz;
    gl_Position = vec4(skinned, 1.0);
}
)";

GLuint buildCaptureProgram() {
    const GLuint shader = glCreateShader(GL_VERTEX_SHADER);
    glShaderSource(shader, 1, &captureVertexText, nullptr);
    glCompileShader(shader);
    const GLuint program = glCreateProgram();
    glAttachShader(program, shader);
    const char* varying = "skinned";
    glTransformFeedbackVaryings(program, 1, &varying, GL_INTERLEAVED_ATTRIBS);
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return linked ? program : 0;
}

// Twelve bones b0..b11 under the root, each sliding along its own direction; the mesh's three
// vertices use bones 0, 9 + 10 and 10. Bone 11 exceeds the shader's array of 11.
struct SkinnedFixture {
    std::unique_ptr<aiScene> scene;
    Model model;

    SkinnedFixture() {
        std::vector<aiNode*> boneNodes;
        std::vector<aiNodeAnim*> channels;
        std::vector<aiBone*> bones;
        for (int i = 0; i < 12; ++i) {
            const std::string name = "b" + std::to_string(i);
            boneNodes.push_back(fixtures::node(name));
            fixtures::Keys keys;
            keys.positions = {{0.0, aiVector3D(0, 0, 0)}, {10.0, aiVector3D(float(i), 1.0f, -float(i))}};
            keys.rotations = {{0.0, aiQuaternion()},
                              {10.0, aiQuaternion(aiVector3D(0, 1, 0), 0.1f * float(i))}};
            channels.push_back(fixtures::channel(name, keys));
            std::vector<std::pair<unsigned int, float>> weights;
            if (i == 0)
                weights = {{0, 1.0f}};
            if (i == 9)
                weights = {{1, 0.5f}};
            if (i == 10)
                weights = {{1, 0.5f}, {2, 1.0f}};
            bones.push_back(fixtures::bone(name, weights, fixtures::translation(0, 0, float(i))));
        }
        aiNode* root = fixtures::node("root", fixtures::translation(0, 2, 0), boneNodes);
        scene =
            fixtures::scene(root, {fixtures::mesh("body", 3, bones)},
                            {fixtures::animation(10.0, 10.0, {}), fixtures::animation(10.0, 10.0, channels)});
        model.scene = scene.get();
        model.globalInverseTransform = glm::inverse(glm::translate(glm::mat4(1.0f), glm::vec3(0, 2, 0)));
        ::testing::internal::CaptureStdout();
        model.initFromScene(scene.get());
        ::testing::internal::GetCapturedStdout();
    }
};

} // namespace

TEST(DrawSkinned, UploadsEveryBoneByNameAndTheShaderSkinsWithIt) {
    SkinnedFixture fixture;
    ASSERT_EQ(fixture.model.boneInfo.size(), 12u);
    const GLuint program = buildCaptureProgram();
    ASSERT_NE(program, 0u);
    GLuint captured = 0;
    glGenBuffers(1, &captured);
    glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, captured);
    glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, 3 * sizeof(glm::vec3), nullptr, GL_STATIC_READ);
    glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, captured);
    while (glGetError() != GL_NO_ERROR) {
    }

    const glm::mat4 modelMatrix =
        glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0)), glm::vec3(2.0f));
    const float seconds = 0.37f;
    glUseProgram(program);
    glEnable(GL_RASTERIZER_DISCARD);
    glBeginTransformFeedback(GL_TRIANGLES);
    EXPECT_TRUE(drawSkinned(seconds, fixture.model, program, modelMatrix, 1));
    glEndTransformFeedback();
    glDisable(GL_RASTERIZER_DISCARD);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR))
        << "bone 11 has no uniform and is skipped quietly";
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program);

    glm::vec3 skinned[3];
    glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, sizeof(skinned), skinned);
    std::vector<glm::mat4> bones;
    ASSERT_TRUE(boneTransforms(fixture.model, seconds, 1, bones));
    const glm::vec4 positions[3] = {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 2, 0, 1}};
    const glm::vec3 expected[3] = {
        glm::vec3(modelMatrix * bones[0] * positions[0]),
        glm::vec3(modelMatrix * (bones[9] * 0.5f + bones[10] * 0.5f) * positions[1]),
        glm::vec3(modelMatrix * bones[10] * positions[2]),
    };
    for (int v = 0; v < 3; ++v)
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(skinned[v][axis], expected[v][axis], 1e-4f) << "vertex " << v << " axis " << axis;
    EXPECT_GT(glm::length(expected[2] - glm::vec3(modelMatrix * positions[2])), 0.5f) << "the pose moved it";

    GLfloat uploaded[16];
    glGetUniformfv(program, glGetUniformLocation(program, "gBones[10]"), uploaded);
    EXPECT_EQ(std::memcmp(uploaded, &bones[10][0][0], sizeof(uploaded)), 0);
    glUseProgram(0);
    glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, 0);
}
