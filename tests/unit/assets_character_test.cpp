// The generated character and smoke sprites, read back the way the viewer reads them: the FBX through
// Assimp with the viewer's import flags, posed by the viewer's own bone evaluation, the images through
// stb_image. Also the one check that the generator's output is reproducible.
#include "../../tools/assetgen/character_motion.hpp"
#include "model/animation.hpp"
#include "scene_assets.hpp"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <unistd.h>

namespace {

const unsigned viewerFlags =
    aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_FlipUVs | aiProcess_CalcTangentSpace;

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The character as the viewer holds it: the imported scene with its bone tables filled.
struct Character {
    Model model;
    const aiMesh* mesh = nullptr;
    Character() {
        model.scene = model.importer.ReadFile(scene_assets::assetsDir() + "/animations/WendrelAnimation.fbx",
                                              viewerFlags);
        if (!model.scene || !model.scene->mRootNode)
            return;
        for (unsigned m = 0; m < model.scene->mNumMeshes; ++m)
            if (std::string(model.scene->mMeshes[m]->mName.C_Str()) == "Zeus.obj")
                mesh = model.scene->mMeshes[m];
        if (!mesh)
            return;
        model.globalInverseTransform =
            glm::inverse(glm::transpose(glm::make_mat4(&model.scene->mRootNode->mTransformation.a1)));
        model.meshBaseVertex = {0};
        model.vertexBoneData.resize(mesh->mNumVertices);
        ::testing::internal::CaptureStdout();
        for (unsigned b = 0; b < mesh->mNumBones; ++b)
            model.loadBone(0, mesh->mBones[b]);
        ::testing::internal::GetCapturedStdout();
    }

    // Mesh vertices skinned with the viewer's bone matrices.
    std::vector<glm::vec3> skinned(int animation, float seconds) {
        std::vector<glm::mat4> bones;
        std::vector<glm::vec3> out(mesh->mNumVertices, glm::vec3(0.0f));
        if (!boneTransforms(model, seconds, animation, bones))
            return out;
        for (unsigned b = 0; b < mesh->mNumBones; ++b) {
            const aiBone* bone = mesh->mBones[b];
            const glm::mat4& m = bones[model.boneNameToIndex.at(bone->mName.C_Str())];
            for (unsigned w = 0; w < bone->mNumWeights; ++w) {
                const aiVector3D p = mesh->mVertices[bone->mWeights[w].mVertexId];
                out[bone->mWeights[w].mVertexId] +=
                    bone->mWeights[w].mWeight * glm::vec3(m * glm::vec4(p.x, p.y, p.z, 1));
            }
        }
        return out;
    }
};

Character& character() {
    static Character c;
    return c;
}

} // namespace

TEST(GeneratedCharacter, MeshHasUvsTheSkinTextureAndOutwardWinding) {
    ASSERT_NE(character().mesh, nullptr) << "no mesh is named Zeus.obj (is the assets target built?)";
    const aiScene* scene = character().model.scene;
    const aiMesh* mesh = character().mesh;
    EXPECT_GT(mesh->mNumFaces, 1000u);
    ASSERT_NE(mesh->mTextureCoords[0], nullptr);
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
        const aiVector3D& uv = mesh->mTextureCoords[0][v];
        ASSERT_TRUE(uv.x >= 0.0f && uv.x <= 1.0f && uv.y >= 0.0f && uv.y <= 1.0f) << "vertex " << v;
    }
    aiString path;
    ASSERT_EQ(scene->mMaterials[mesh->mMaterialIndex]->GetTexture(aiTextureType_DIFFUSE, 0, &path),
              AI_SUCCESS);
    EXPECT_STREQ(path.C_Str(), "textures/newSkin.jpg");
    EXPECT_GE(scene->mNumAnimations, 3u) << "the script plays animations 1 and 2";

    unsigned agreeing = 0, judged = 0;
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        const aiVector3D a = mesh->mVertices[face.mIndices[0]], b = mesh->mVertices[face.mIndices[1]],
                         c = mesh->mVertices[face.mIndices[2]];
        const aiVector3D n = (b - a) ^ (c - a);
        if (n.Length() < 1e-4f)
            continue;
        const aiVector3D stored = mesh->mNormals[face.mIndices[0]] + mesh->mNormals[face.mIndices[1]] +
                                  mesh->mNormals[face.mIndices[2]];
        ++judged;
        agreeing += (n * stored) > 0.0f;
    }
    EXPECT_GT(double(agreeing), 0.99 * judged) << "back-face culling would hide the outside of some parts";
}

// The shaders skin with the first four influences of a vertex; the script plays clips 1 and 2.
TEST(GeneratedCharacter, EveryVertexIsSkinnedByFourInfluencesAndEveryBoneIsPosed) {
    ASSERT_NE(character().mesh, nullptr);
    for (const VertexBoneData& record : character().model.vertexBoneData)
        ASSERT_NEAR(record.weights[0] + record.weights[1] + record.weights[2] + record.weights[3], 1.0f,
                    0.02f);
    for (int animation : {1, 2})
        for (float seconds : {0.0f, 0.4f, 1.3f, 17.0f}) {
            std::vector<glm::mat4> transforms;
            ASSERT_TRUE(boneTransforms(character().model, seconds, animation, transforms));
            for (size_t bone = 0; bone < transforms.size(); ++bone) {
                ASSERT_NE(transforms[bone], glm::mat4(0.0f)) << "bone " << bone << " is never reached";
                for (int c = 0; c < 4; ++c)
                    ASSERT_TRUE(std::isfinite(glm::length(transforms[bone][c]))) << "bone " << bone;
            }
        }
}

TEST(GeneratedCharacter, ClipsLoopWithoutAJump) {
    ASSERT_NE(character().mesh, nullptr);
    const aiScene* scene = character().model.scene;
    for (unsigned a = 0; a < scene->mNumAnimations; ++a)
        for (unsigned c = 0; c < scene->mAnimations[a]->mNumChannels; ++c) {
            const aiNodeAnim* ch = scene->mAnimations[a]->mChannels[c];
            SCOPED_TRACE(std::string("animation ") + std::to_string(a) + " channel " + ch->mNodeName.C_Str());
            ASSERT_GT(ch->mNumRotationKeys, 1u);
            EXPECT_DOUBLE_EQ(ch->mRotationKeys[ch->mNumRotationKeys - 1].mTime,
                             scene->mAnimations[a]->mDuration);
            const aiQuaternion p = ch->mRotationKeys[0].mValue,
                               q = ch->mRotationKeys[ch->mNumRotationKeys - 1].mValue;
            EXPECT_NEAR(std::fabs(p.w * q.w + p.x * q.x + p.y * q.y + p.z * q.z), 1.0f, 1e-5f);
            EXPECT_NEAR(
                (ch->mPositionKeys[ch->mNumPositionKeys - 1].mValue - ch->mPositionKeys[0].mValue).Length(),
                0.0f, 1e-4f);
        }
}

TEST(GeneratedCharacter, StandsOnTheGroundAtFullHeightInEveryClip) {
    ASSERT_NE(character().mesh, nullptr);
    for (int a = 0; a < 3; ++a) {
        float lowest = 1e9f, highest = -1e9f;
        for (const glm::vec3& v : character().skinned(a, 0.0f)) {
            lowest = std::fmin(lowest, v.y);
            highest = std::fmax(highest, v.y);
        }
        EXPECT_NEAR(lowest, 0.0f, 0.5f) << "animation " << a;
        EXPECT_GT(highest, 75.0f) << "animation " << a;
        EXPECT_LT(highest, 92.0f) << "animation " << a;
    }
}

// While the model moves forward at characterWalk::speed, sole vertices on the ground must stay where they
// are.
TEST(GeneratedCharacter, PlantedFeetDoNotSlideAtTheWalkSpeed) {
    ASSERT_NE(character().mesh, nullptr);
    const float dt = 1.0f / 96.0f;
    std::vector<glm::vec3> previous = character().skinned(1, 0.0f);
    double slideSum = 0.0;
    int samples = 0;
    for (int step = 1; step * dt < 1.5f; ++step) {
        std::vector<glm::vec3> now = character().skinned(1, float(step) * dt);
        for (size_t v = 0; v < now.size(); ++v) {
            if (now[v].y < 0.2f && previous[v].y < 0.2f) {
                slideSum += std::fabs(now[v].z - previous[v].z + characterWalk::speed * dt) / dt;
                ++samples;
            }
        }
        previous = std::move(now);
    }
    ASSERT_GT(samples, 1000);
    EXPECT_LT(slideSum / samples, 0.05 * characterWalk::speed) << "mean slide in model units per second";
}

TEST(GeneratedSprites, SkinAndSixSmokeSpritesDecodeAndTheSmokeFadesToItsEdges) {
    const std::string dir = scene_assets::assetsDir() + "/textures/";
    int w = 0, h = 0, n = 0;
    stbi_uc* skin = stbi_load((dir + "newSkin.jpg").c_str(), &w, &h, &n, 0);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(n, 3);
    stbi_image_free(skin);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("smoke" + std::to_string(i));
        stbi_uc* px = stbi_load((dir + "smoke" + std::to_string(i) + ".png").c_str(), &w, &h, &n, 0);
        ASSERT_NE(px, nullptr);
        EXPECT_EQ(n, 4);
        int borderMax = 0, centreMax = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int alpha = px[(size_t(y) * w + x) * 4 + 3];
                if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
                    borderMax = std::max(borderMax, alpha);
                if (std::abs(x - w / 2) < w / 8 && std::abs(y - h / 2) < h / 8)
                    centreMax = std::max(centreMax, alpha);
            }
        EXPECT_EQ(borderMax, 0) << "sprite edges must fade out completely";
        EXPECT_GT(centreMax, 100);
        EXPECT_LT(centreMax, 230) << "puffs should stay partly transparent";
        stbi_image_free(px);
    }
}

// Every group, run twice more than a second apart so that a time stamp in any file would show. The
// models group (with its lightmap bake) takes most of the half minute.
TEST(AssetGenerator, TwoRunsWriteByteIdenticalFiles) {
    const std::string base = ::testing::TempDir() + "duskvale_assetgen_" + std::to_string(::getpid());
    const auto firstRun = std::chrono::steady_clock::now();
    for (const char* run : {"a", "b"}) {
        std::filesystem::remove_all(base + run);
        std::this_thread::sleep_until(firstRun + std::chrono::milliseconds(*run == 'a' ? 0 : 1100));
        for (const char* group : {"models", "character", "sprites", "audio"}) {
            const std::string cmd =
                std::string("\"") + DUSKVALE_ASSETGEN + "\" \"" + base + run + "\" " + group + " > /dev/null";
            ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        }
    }
    size_t files = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(base + "a")) {
        if (!e.is_regular_file())
            continue;
        const std::string relative = std::filesystem::relative(e.path(), base + "a").string();
        EXPECT_TRUE(readBytes(e.path().string()) == readBytes(base + "b/" + relative))
            << relative << " differs";
        ++files;
    }
    EXPECT_GE(files, 40u) << "the models, lightmaps, skin, sprites, character and sounds";
    std::filesystem::remove_all(base + "a");
    std::filesystem::remove_all(base + "b");
}
