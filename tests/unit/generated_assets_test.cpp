// The generated assets as a viewer user would meet them: textures that load with black baked light
// where no lightmap is, and feet that stay planted. (The sky and the rest of the layout show in the
// scene pictures; the music's click-free loop is checked with the sound tests.)
#include "../../tools/assetgen/character_motion.hpp"
#include "model/animation.hpp"

#include <assimp/postprocess.h>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>

namespace {

const std::string assets = std::string(DUSKVALE_BUILD_DIR) + "/assets/";
const unsigned viewerFlags =
    aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_FlipUVs | aiProcess_CalcTangentSpace;

std::vector<std::string> texturePaths(const aiMaterial* m, aiTextureType type) {
    std::vector<std::string> out;
    for (unsigned i = 0; i < aiGetMaterialTextureCount(m, type); ++i) {
        aiString p;
        aiGetMaterialTexture(m, type, i, &p);
        out.push_back(p.C_Str());
    }
    return out;
}

} // namespace

// Units 0 and 1 of every mesh are its own; the lit shaders add unit 1 as baked light, so without a
// lightmap it must be black RGB (grey would glow, one channel samples as a red tint).
TEST(GeneratedModels, EveryTextureTheViewerBindsLoadsAndUnitOneIsBlackWithoutALightmap) {
    size_t unlit = 0, lightmapped = 0;
    for (const char* stem : {"Post_Apocalyptic_Building", "background", "car", "DeadTree1", "DeadTree21",
                             "window", "big_Terrain", "mirror"}) {
        Assimp::Importer importer;
        const aiScene* s = importer.ReadFile(assets + "models/" + stem + ".obj", viewerFlags);
        ASSERT_TRUE(s && !(s->mFlags & AI_SCENE_FLAGS_INCOMPLETE))
            << stem << " (is the assets target built?)";
        for (unsigned i = 0; i < s->mNumMeshes; ++i) {
            const std::string mesh = s->mMeshes[i]->mName.C_Str();
            const aiMaterial* mat = s->mMaterials[s->mMeshes[i]->mMaterialIndex];
            std::vector<std::string> bound = texturePaths(mat, aiTextureType_DIFFUSE);
            for (aiTextureType t : {aiTextureType_SPECULAR, aiTextureType_HEIGHT, aiTextureType_AMBIENT})
                for (const std::string& p : texturePaths(mat, t))
                    bound.push_back(p);
            const bool lightmap = mesh == "Plane" || mesh.size() > 10;
            if (lightmap)
                bound.insert(bound.begin() + std::min<size_t>(1, bound.size()),
                             mesh == "Plane" ? "Lightmaps/Lightmap.203.jpg"
                                             : "Lightmaps/Lightmap" + mesh.substr(8, 4) + ".jpg");
            ASSERT_GE(bound.size(), 2u) << stem << "/" << mesh;
            lightmapped += lightmap;
            for (size_t unit = 0; unit < bound.size(); ++unit) {
                int w = 0, h = 0, n = 0;
                unsigned char* px = stbi_load((assets + bound[unit]).c_str(), &w, &h, &n, 0);
                ASSERT_NE(px, nullptr) << stem << "/" << mesh << ": " << bound[unit];
                if (unit == 1 && !lightmap) {
                    EXPECT_GE(n, 3) << bound[1] << " on unit 1 of " << mesh;
                    EXPECT_EQ(*std::max_element(px, px + size_t(w) * h * n), 0) << bound[1] << " adds light";
                    ++unlit;
                }
                stbi_image_free(px);
            }
        }
    }
    EXPECT_GE(lightmapped, 3u);
    EXPECT_GT(unlit, 20u);
    for (const std::string sprite : {"newSkin.jpg", "smoke0.png", "smoke1.png", "smoke2.png", "smoke3.png",
                                     "smoke4.png", "smoke5.png"}) {
        int w = 0, h = 0, n = 0;
        stbi_uc* px = stbi_load((assets + "textures/" + sprite).c_str(), &w, &h, &n, 0);
        EXPECT_NE(px, nullptr) << sprite;
        stbi_image_free(px);
    }
}

// Posed by the viewer's own bone evaluation: while the model walks forward at characterWalk::speed, sole
// vertices on the ground must stay where they are.
TEST(GeneratedCharacter, PlantedFeetDoNotSlideAtTheWalkSpeed) {
    Model model;
    model.scene = model.importer.ReadFile(assets + "animations/WendrelAnimation.fbx", viewerFlags);
    ASSERT_TRUE(model.scene && model.scene->mRootNode);
    const aiMesh* mesh = nullptr;
    for (unsigned m = 0; m < model.scene->mNumMeshes; ++m)
        if (std::string(model.scene->mMeshes[m]->mName.C_Str()) == "Zeus.obj")
            mesh = model.scene->mMeshes[m];
    ASSERT_NE(mesh, nullptr);
    model.globalInverseTransform =
        glm::inverse(glm::transpose(glm::make_mat4(&model.scene->mRootNode->mTransformation.a1)));
    model.meshBaseVertex = {0};
    model.vertexBoneData.resize(mesh->mNumVertices);
    ::testing::internal::CaptureStdout();
    for (unsigned b = 0; b < mesh->mNumBones; ++b)
        model.loadBone(0, mesh->mBones[b]);
    ::testing::internal::GetCapturedStdout();
    auto skinned = [&](float seconds) {
        std::vector<glm::mat4> bones;
        std::vector<glm::vec3> out(mesh->mNumVertices, glm::vec3(0.0f));
        EXPECT_TRUE(boneTransforms(model, seconds, 1, bones));
        for (unsigned b = 0; b < mesh->mNumBones && !bones.empty(); ++b) {
            const aiBone* bone = mesh->mBones[b];
            const glm::mat4& m = bones[model.boneNameToIndex.at(bone->mName.C_Str())];
            for (unsigned w = 0; w < bone->mNumWeights; ++w) {
                const aiVertexWeight& vw = bone->mWeights[w];
                out[vw.mVertexId] +=
                    vw.mWeight *
                    glm::vec3(m * glm::vec4(glm::make_vec3(&mesh->mVertices[vw.mVertexId].x), 1));
            }
        }
        return out;
    };
    const float dt = 1.0f / 96.0f;
    std::vector<glm::vec3> previous = skinned(0.0f);
    double slideSum = 0.0;
    int samples = 0;
    for (int step = 1; step * dt < 1.5f; ++step) {
        std::vector<glm::vec3> now = skinned(float(step) * dt);
        for (size_t v = 0; v < now.size(); ++v)
            if (now[v].y < 0.2f && previous[v].y < 0.2f) {
                slideSum += std::fabs(now[v].z - previous[v].z + characterWalk::speed * dt) / dt;
                ++samples;
            }
        previous = std::move(now);
    }
    ASSERT_GT(samples, 1000);
    EXPECT_LT(slideSum / samples, 0.05 * characterWalk::speed) << "mean slide in model units per second";
}
