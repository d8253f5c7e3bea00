// Importing small OBJ/MTL/image files written by the tests: the load report, texture reuse by path,
// releasing the import and numbered lightmaps. (Failed imports
// and undecodable images are checked with their messages by the model and image robustness scripts.)
#include "gl_context.hpp"
#include "model/model.hpp"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Every test runs in a fresh folder of its own, because material and lightmap paths are opened
// relative to the working directory.
class ModelFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        previous = fs::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(::testing::TempDir()) / (std::string("duskvale_model_") + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "textures");
        fs::create_directories(folder / "Lightmaps");
        fs::current_path(folder);
    }
    void TearDown() override { fs::current_path(previous); }

    static void writeText(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    // A solid image of the given size and channel count.
    static void writePng(const std::string& path, int width, int height, int channels,
                         unsigned char value = 200) {
        std::vector<unsigned char> pixels(static_cast<std::size_t>(width * height * channels), value);
        ASSERT_NE(stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels), 0);
    }
    static void writeJpg(const std::string& path, int width, int height) {
        std::vector<unsigned char> pixels(static_cast<std::size_t>(width * height * 3), 128);
        ASSERT_NE(stbi_write_jpg(path.c_str(), width, height, 3, pixels.data(), 90), 0);
    }
    // One triangle per object, each object using its own material (or none).
    static std::string objectsObj(const std::vector<std::pair<std::string, std::string>>& objects) {
        std::string text = "mtllib scene.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\n";
        for (const auto& [name, material] : objects) {
            text += "o " + name + "\n";
            if (!material.empty())
                text += "usemtl " + material + "\n";
            text += "f 1/1/1 2/2/1 3/3/1\n";
        }
        return text;
    }
    static GLint textureWidth(GLuint id) {
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, id);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        return width;
    }

    fs::path previous;
    fs::path folder;
};

std::string loadReport(const std::string& path, std::unique_ptr<Model>& model) {
    ::testing::internal::CaptureStdout();
    model = std::make_unique<Model>(path);
    return ::testing::internal::GetCapturedStdout();
}

} // namespace

TEST_F(ModelFiles, SharedImageIsOneTextureReadOncePerModelTheReportIsExactAndReleaseKeepsTheGpuCopy) {
    writePng("textures/wood.png", 4, 4, 3);
    writeText("scene.mtl", "newmtl crateMat\nmap_Kd textures/wood.png\nmap_bump textures/gone.png\n"
                           "newmtl barrelMat\nmap_Kd textures/wood.png\nmap_Ks textures/gone.png\n");
    writeText("scene.obj", objectsObj({{"crate", "crateMat"}, {"barrel", "barrelMat"}}));

    std::unique_ptr<Model> first;
    const std::string report = loadReport("scene.obj", first);
    EXPECT_EQ(report, "new Model-----------Parsing 2 meshes\n\n"
                      " Mesh 0 'crate': vertices 3 indices 3 bones 0\n\n"
                      "crateTexture failed to load at path: textures/gone.png\n"
                      "\n"
                      " Mesh 1 'barrel': vertices 3 indices 3 bones 0\n\n"
                      "barrel\n"
                      "\nTotal vertices 6 total indices 6 total bones 0\n");
    ASSERT_EQ(first->meshes.size(), 2u);
    ASSERT_EQ(first->texturesLoaded.size(), 2u);
    const std::vector<Texture>& crate = first->meshes[0].textures;
    const std::vector<Texture>& barrel = first->meshes[1].textures;
    ASSERT_EQ(crate.size(), 2u);
    ASSERT_EQ(barrel.size(), 2u);
    EXPECT_EQ(crate[0].id, barrel[0].id);
    EXPECT_EQ(crate[0].type, "texture_diffuse");
    EXPECT_EQ(textureWidth(crate[0].id), 4);
    EXPECT_EQ(crate[1].type, "texture_normal");
    EXPECT_EQ(barrel[1].id, crate[1].id) << "a failed texture is still reused by path";
    EXPECT_EQ(barrel[1].type, "texture_normal") << "reuse keeps the type word it was created with";
    EXPECT_EQ(barrel[1].path, "textures/gone.png");

    std::unique_ptr<Model> second;
    const std::string again = loadReport("scene.obj", second);
    EXPECT_NE(again.find("Texture failed to load at path: textures/gone.png\n"), std::string::npos)
        << "another model reads the file again";
    EXPECT_NE(second->meshes[0].textures[0].id, crate[0].id);
    EXPECT_NE(second->meshes[0].vao, first->meshes[0].vao);

    // Releasing the import frees the CPU copies and keeps what drawing needs (that the released models
    // still draw is seen in every picture of the scene).
    const Mesh before = first->meshes[0];
    releaseImport(*first);
    EXPECT_EQ(first->scene, nullptr);
    EXPECT_TRUE(first->vertexBoneData.empty());
    const Mesh& mesh = first->meshes[0];
    EXPECT_TRUE(mesh.vertices.empty() && mesh.indices.empty() && mesh.boneData.empty());
    EXPECT_EQ(mesh.vao, before.vao);
    EXPECT_EQ(mesh.boundsMax, glm::vec3(1.0f, 1.0f, 0.0f));
    EXPECT_EQ(mesh.textures[0].id, before.textures[0].id);
}

// A mesh named with a number takes the lightmap of that number; the report names the number, and a
// missing lightmap its path.
TEST_F(ModelFiles, NumberedMeshesTakeTheirLightmap) {
    writeJpg("Lightmaps/Lightmap007.jpg", 4, 4);
    writeText("scene.mtl", "newmtl plain\nKd 1 1 1\n");
    writeText("scene.obj", objectsObj({{"Wall_01.007", "plain"}, {"Building.099_B", "plain"}}));
    std::unique_ptr<Model> model;
    const std::string report = loadReport("scene.obj", model);
    EXPECT_NE(report.find("\n\nWall_01.0070\nmesh Name number: 007\n\n Mesh 1"), std::string::npos) << report;
    EXPECT_NE(report.find("Building.099_B1\nmesh Name number: .099\n"
                          "Texture failed to load at path: Lightmaps/Lightmap.099.jpg\n\n"),
              std::string::npos)
        << report;
    ASSERT_EQ(model->meshes[0].textures.size(), 1u);
    EXPECT_EQ(model->meshes[0].textures[0].path, "Lightmaps/Lightmap007.jpg");
    EXPECT_EQ(model->meshes[0].textures[0].type, "texture_specular");
    EXPECT_EQ(textureWidth(model->meshes[0].textures[0].id), 4);
}
