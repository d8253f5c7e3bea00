// Each shipped skinned program (shadow depth, geometry buffer, lit) draws a patch whose vertices
// are all weighted to four bones, each bone moving it a different way: the patch must land where the
// blend of all four puts it, which it misses by several pixels if any one influence is lost.
#include "gl_context.hpp"
#include "model/animation.hpp"
#include "model/mesh.hpp"
#include "model/skinned_bounds.hpp"
#include "render_test_scene.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

constexpr int kSize = 128;
const int kBoneIds[4] = {3, 17, 42, 99};
const float kWeights[4] = {0.1f, 0.2f, 0.3f, 0.4f};
// Clip-space moves of the four bones. Dropping any one of them (with or without renormalising the
// rest) shifts the blend by at least 0.12, about eight pixels here.
const glm::vec3 kMoves[4] = {
    {0.9f, 0.0f, 0.0f}, {0.0f, 0.9f, 0.0f}, {-0.9f, 0.0f, 0.0f}, {0.0f, -0.9f, 0.0f}};

struct SkinnedProgramCase {
    const char* name;
    ShaderProgram TestPrograms::*program;
    const char* clipMatrixName; // the program's light-space or view-projection matrix
};

const SkinnedProgramCase kCases[] = {
    {"depth", &TestPrograms::depthSkinned, "lightSpaceMatrix"},
    {"geometry", &TestPrograms::geometrySkinned, "viewProjMatrix"},
    {"lit", &TestPrograms::phongSkinned, "viewProjMatrix"},
};

// A small square around the origin facing +z, every vertex weighted to the four bones.
Mesh fourBonePatch() {
    std::vector<Vertex> vertices(4);
    const glm::vec2 corners[4] = {{-0.06f, -0.06f}, {0.06f, -0.06f}, {0.06f, 0.06f}, {-0.06f, 0.06f}};
    VertexBoneData influences;
    for (int k = 0; k < 4; ++k) {
        vertices[k].position = glm::vec3(corners[k], 0.0f);
        vertices[k].normal = glm::vec3(0.0f, 0.0f, 1.0f);
        influences.boneIds[k] = kBoneIds[k];
        influences.weights[k] = kWeights[k];
    }
    return Mesh(vertices, {0, 1, 2, 0, 2, 3}, {}, std::vector<VertexBoneData>(4, influences));
}

// Centre, in pixels, of what a draw covered in the depth buffer; (-1, -1) when it covered nothing.
glm::vec2 coveredCentre(const std::vector<float>& depth) {
    glm::dvec2 sum(0.0);
    int count = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (depth[static_cast<size_t>(y * kSize + x)] < 1.0f) {
                sum += glm::dvec2(x + 0.5, y + 0.5);
                ++count;
            }
    return count == 0 ? glm::vec2(-1.0f) : glm::vec2(sum / static_cast<double>(count));
}

} // namespace

TEST(FourBoneSkinning, EveryShippedSkinnedProgramBlendsAllFourInfluences) {
    GLuint fbo = 0, color = 0, depth = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glGenTextures(1, &color);
    glBindTexture(GL_TEXTURE_2D, color);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSize, kSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color, 0);
    glGenTextures(1, &depth);
    glBindTexture(GL_TEXTURE_2D, depth);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT32F, kSize, kSize, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                 nullptr);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depth, 0);
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));

    const Mesh patch = fourBonePatch();
    std::vector<BoneInfo> bones(100);
    for (int k = 0; k < 4; ++k)
        bones[kBoneIds[k]].finalTransform = glm::translate(glm::mat4(1.0f), kMoves[k]);
    // Where the blend of all four puts the patch's centre, from the CPU copy of the skinning, which
    // must agree with the shaders as well.
    const glm::vec4 blended = vertexSkinMatrix(patch.boneData[0], bones, 100) * glm::vec4(0, 0, 0, 1);
    const glm::vec2 expected = (glm::vec2(blended) * 0.5f + 0.5f) * static_cast<float>(kSize);
    EXPECT_NEAR(blended.x, -0.18f, 1e-5f);
    EXPECT_NEAR(blended.y, -0.18f, 1e-5f);

    for (const SkinnedProgramCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const ShaderProgram& program = testPrograms().*c.program;
        ASSERT_NE(program.id, 0u);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glViewport(0, 0, kSize, kSize);
        glDisable(GL_CULL_FACE);
        glDisable(GL_STENCIL_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glDepthMask(GL_TRUE);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        program.use();
        program.setMat4(c.clipMatrixName, glm::mat4(1.0f));
        program.setMat4("modelMatrix", glm::mat4(1.0f));
        for (int k = 0; k < 4; ++k)
            program.setMat4(boneUniformName(static_cast<unsigned int>(kBoneIds[k])),
                            bones[kBoneIds[k]].finalTransform);
        patch.draw();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

        std::vector<float> stored(static_cast<size_t>(kSize * kSize));
        glBindTexture(GL_TEXTURE_2D, depth);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, stored.data());
        const glm::vec2 centre = coveredCentre(stored);
        EXPECT_NEAR(centre.x, expected.x, 1.0f);
        EXPECT_NEAR(centre.y, expected.y, 1.0f);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glEnable(GL_CULL_FACE);
    glDeleteFramebuffers(1, &fbo);
    glDeleteTextures(1, &color);
    glDeleteTextures(1, &depth);
}
