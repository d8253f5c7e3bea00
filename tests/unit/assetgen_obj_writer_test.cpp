// The asset generator's OBJ writer: a written mesh reaches the viewer's importer with its name, textures
// and texture coordinates intact. (The baked light itself shows in the golden images of the scene.)
#include "obj_writer.hpp"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <filesystem>

TEST(ObjWriter, MeshReachesTheViewersImporterWithNameTexturesAndTexelRows) {
    const std::string dir = ::testing::TempDir() + "duskvale_objwriter";
    std::filesystem::remove_all(dir);
    ModelData model;
    model.fileStem = "probe";
    model.authoredToModel = glm::scale(glm::mat4(1.0f), glm::vec3(0.5f));
    model.materials.push_back({"Lit", "textures/a.jpg", "", glm::vec3(0.1f), 8.0f});
    model.materials.push_back({"Tiled", "textures/b.jpg", "textures/b_spec.jpg", glm::vec3(0.1f), 8.0f});
    MeshData& lit = model.mesh("Building.042_Walls", "Lit");
    // Image-space coordinates: v = 0.25 is a quarter of the way down from the image's first row.
    const glm::vec3 p[4] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}};
    const glm::vec2 uv[4] = {{0.1f, 0.25f}, {0.9f, 0.25f}, {0.9f, 0.75f}, {0.1f, 0.75f}};
    lit.addQuad(p, {0, 0, 1}, uv);
    model.mesh("Short", "Tiled").addQuad(p, {0, 0, 1}, uv);
    ASSERT_TRUE(writeObjModel(dir, model));

    Assimp::Importer importer;
    const aiScene* s =
        importer.ReadFile(dir + "/models/probe.obj", aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                                         aiProcess_FlipUVs | aiProcess_CalcTangentSpace);
    ASSERT_NE(s, nullptr) << importer.GetErrorString();
    ASSERT_EQ(s->mNumMeshes, 2u);
    const aiMesh* m = s->mMeshes[0];
    EXPECT_STREQ(m->mName.C_Str(), "Building.042_Walls");
    const aiMaterial* mat = s->mMaterials[m->mMaterialIndex];
    EXPECT_EQ(aiGetMaterialTextureCount(mat, aiTextureType_DIFFUSE), 1u);
    EXPECT_EQ(aiGetMaterialTextureCount(mat, aiTextureType_SPECULAR), 0u);
    aiString path;
    aiGetMaterialTexture(mat, aiTextureType_DIFFUSE, 0, &path);
    EXPECT_STREQ(path.C_Str(), "textures/a.jpg") << "paths are kept verbatim, relative to the assets folder";
    const aiMaterial* tiled = s->mMaterials[s->mMeshes[1]->mMaterialIndex];
    EXPECT_EQ(aiGetMaterialTextureCount(tiled, aiTextureType_SPECULAR), 1u);
    // After the viewer's flip, texture coordinates count rows from the top, as painted.
    for (unsigned v = 0; v < m->mNumVertices; ++v) {
        const float t = m->mTextureCoords[0][v].y;
        EXPECT_TRUE(std::abs(t - 0.25f) < 1e-4f || std::abs(t - 0.75f) < 1e-4f) << t;
        EXPECT_LE(m->mVertices[v].x, 1.0f + 1e-4f) << "positions go through the authoring transform";
        EXPECT_NEAR(m->mNormals[v].z, 1.0f, 1e-4f);
    }
    std::filesystem::remove_all(dir);
}
