// The generated character and smoke sprites, read back the way the viewer reads them: the FBX through
// Assimp with the viewer's import flags and its evaluation rules, the images through stb_image. The
// generator writes into a temporary folder (a second run checks that its output is reproducible).
#include "../../tools/assetgen/character_motion.hpp"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <thread>

#include <unistd.h>

namespace {

const char* const fbxFile = "animations/WendrelAnimation.fbx";
const unsigned viewerFlags =
    aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_FlipUVs | aiProcess_CalcTangentSpace;

// One folder per process: ctest may run several of these tests at once.
std::string generateInto(const std::string& name) {
    const std::string dir = ::testing::TempDir() + name + std::to_string(::getpid()) + "/";
    std::filesystem::remove_all(dir);
    for (const char* group : {"character", "sprites"}) {
        const std::string command =
            std::string("\"") + DUSKVALE_ASSETGEN + "\" \"" + dir + "\" " + group + " > /dev/null";
        if (std::system(command.c_str()) != 0)
            ADD_FAILURE() << "the asset generator failed: " << command;
    }
    return dir;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

glm::mat4 toGlm(const aiMatrix4x4& m) {
    glm::mat4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            r[col][row] = m[row][col];
    return r;
}

// Global node transforms at a time, by the viewer's rules: ticks = fmod(tps * seconds, duration), the
// first key pair whose end lies after the time, T * R * S for nodes with a channel.
std::map<std::string, glm::mat4> nodeGlobals(const aiScene* scene, unsigned animationIndex, float seconds) {
    const aiAnimation* animation = scene->mAnimations[animationIndex];
    const float tps = animation->mTicksPerSecond != 0.0 ? float(animation->mTicksPerSecond) : 25.0f;
    const float ticks = std::fmod(tps * seconds, float(animation->mDuration));
    auto pairAt = [&](auto* keys, unsigned count) {
        unsigned i = 0;
        while (i + 2 < count && !(ticks < float(keys[i + 1].mTime)))
            ++i;
        const float f = float((ticks - float(keys[i].mTime)) / float(keys[i + 1].mTime - keys[i].mTime));
        return std::make_pair(i, std::fmin(std::fmax(f, 0.0f), 1.0f));
    };
    std::map<std::string, glm::mat4> out;
    std::function<void(const aiNode*, glm::mat4)> walk = [&](const aiNode* node, glm::mat4 parent) {
        glm::mat4 local = toGlm(node->mTransformation);
        for (unsigned c = 0; c < animation->mNumChannels; ++c) {
            const aiNodeAnim* ch = animation->mChannels[c];
            if (ch->mNodeName != node->mName)
                continue;
            aiVector3D t = ch->mPositionKeys[0].mValue;
            if (ch->mNumPositionKeys > 1) {
                const auto [i, f] = pairAt(ch->mPositionKeys, ch->mNumPositionKeys);
                t = ch->mPositionKeys[i].mValue +
                    (ch->mPositionKeys[i + 1].mValue - ch->mPositionKeys[i].mValue) * f;
            }
            aiQuaternion q = ch->mRotationKeys[0].mValue;
            if (ch->mNumRotationKeys > 1) {
                const auto [i, f] = pairAt(ch->mRotationKeys, ch->mNumRotationKeys);
                aiQuaternion::Interpolate(q, ch->mRotationKeys[i].mValue, ch->mRotationKeys[i + 1].mValue, f);
                q.Normalize();
            }
            const aiVector3D s = ch->mScalingKeys[0].mValue;
            local = glm::translate(glm::mat4(1.0f), glm::vec3(t.x, t.y, t.z)) *
                    glm::mat4_cast(glm::quat(q.w, q.x, q.y, q.z)) *
                    glm::scale(glm::mat4(1.0f), glm::vec3(s.x, s.y, s.z));
            break;
        }
        const glm::mat4 global = parent * local;
        out[node->mName.C_Str()] = global;
        for (unsigned c = 0; c < node->mNumChildren; ++c)
            walk(node->mChildren[c], global);
    };
    walk(scene->mRootNode, glm::mat4(1.0f));
    return out;
}

glm::vec3 origin(const glm::mat4& m) {
    return glm::vec3(m[3]);
}

class GeneratedCharacter : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        generatedAt = std::chrono::steady_clock::now();
        dirA = new std::string(generateInto("duskvale_chargen_a"));
        importer = new Assimp::Importer();
        scene = importer->ReadFile(*dirA + fbxFile, viewerFlags);
    }
    static void TearDownTestSuite() {
        delete importer;
        std::filesystem::remove_all(*dirA);
        delete dirA;
    }
    void SetUp() override {
        ASSERT_NE(scene, nullptr) << importer->GetErrorString();
        ASSERT_FALSE(scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE);
        ASSERT_NE(scene->mRootNode, nullptr);
        for (unsigned m = 0; m < scene->mNumMeshes; ++m)
            if (std::string(scene->mMeshes[m]->mName.C_Str()) == "Zeus.obj")
                mesh = scene->mMeshes[m];
        ASSERT_NE(mesh, nullptr) << "no mesh is named Zeus.obj";
    }

    // Mesh vertices skinned with the viewer's matrices (global inverse * global * offset).
    std::vector<glm::vec3> skinned(unsigned animation, float seconds) const {
        const auto globals = nodeGlobals(scene, animation, seconds);
        const glm::mat4 globalInverse = glm::inverse(toGlm(scene->mRootNode->mTransformation));
        std::vector<glm::vec3> out(mesh->mNumVertices, glm::vec3(0.0f));
        for (unsigned b = 0; b < mesh->mNumBones; ++b) {
            const aiBone* bone = mesh->mBones[b];
            const glm::mat4 m = globalInverse * globals.at(bone->mName.C_Str()) * toGlm(bone->mOffsetMatrix);
            for (unsigned w = 0; w < bone->mNumWeights; ++w) {
                const aiVector3D p = mesh->mVertices[bone->mWeights[w].mVertexId];
                out[bone->mWeights[w].mVertexId] +=
                    bone->mWeights[w].mWeight * glm::vec3(m * glm::vec4(p.x, p.y, p.z, 1));
            }
        }
        return out;
    }

    static std::chrono::steady_clock::time_point generatedAt;
    static std::string* dirA;
    static Assimp::Importer* importer;
    static const aiScene* scene;
    const aiMesh* mesh = nullptr;
};

std::chrono::steady_clock::time_point GeneratedCharacter::generatedAt;
std::string* GeneratedCharacter::dirA = nullptr;
Assimp::Importer* GeneratedCharacter::importer = nullptr;
const aiScene* GeneratedCharacter::scene = nullptr;

TEST_F(GeneratedCharacter, MeshHasNormalsUvsAndTheSkinTexture) {
    EXPECT_GT(mesh->mNumFaces, 1000u);
    ASSERT_NE(mesh->mNormals, nullptr);
    ASSERT_NE(mesh->mTextureCoords[0], nullptr);
    EXPECT_EQ(mesh->mNumUVComponents[0], 2u);
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
        ASSERT_GE(mesh->mTextureCoords[0][v].x, 0.0f);
        ASSERT_LE(mesh->mTextureCoords[0][v].x, 1.0f);
        ASSERT_GE(mesh->mTextureCoords[0][v].y, 0.0f);
        ASSERT_LE(mesh->mTextureCoords[0][v].y, 1.0f);
    }
    aiString path;
    const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
    ASSERT_EQ(material->GetTexture(aiTextureType_DIFFUSE, 0, &path), AI_SUCCESS);
    EXPECT_STREQ(path.C_Str(), "textures/newSkin.jpg");
    EXPECT_TRUE(toGlm(scene->mRootNode->mTransformation) == glm::mat4(1.0f));
}

TEST_F(GeneratedCharacter, TrianglesWindCounterClockwiseSeenFromOutside) {
    unsigned agreeing = 0, judged = 0;
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        ASSERT_EQ(face.mNumIndices, 3u);
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

TEST_F(GeneratedCharacter, EveryVertexHasOneToFourWeightsSummingToOne) {
    ASSERT_GT(mesh->mNumBones, 10u);
    EXPECT_LE(mesh->mNumBones, 64u);
    std::vector<int> count(mesh->mNumVertices, 0);
    std::vector<float> sum(mesh->mNumVertices, 0.0f);
    for (unsigned b = 0; b < mesh->mNumBones; ++b) {
        const aiBone* bone = mesh->mBones[b];
        EXPECT_NE(scene->mRootNode->FindNode(bone->mName), nullptr) << bone->mName.C_Str();
        for (unsigned w = 0; w < bone->mNumWeights; ++w) {
            ASSERT_GT(bone->mWeights[w].mWeight, 0.0f);
            ++count[bone->mWeights[w].mVertexId];
            sum[bone->mWeights[w].mVertexId] += bone->mWeights[w].mWeight;
        }
    }
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
        ASSERT_GE(count[v], 1) << "vertex " << v;
        ASSERT_LE(count[v], 4) << "vertex " << v;
        ASSERT_NEAR(sum[v], 1.0f, 1e-3f) << "vertex " << v;
    }
}

TEST_F(GeneratedCharacter, ThreeClipsWithKeysOnExistingNodesThatLoopCleanly) {
    ASSERT_GE(scene->mNumAnimations, 3u);
    for (unsigned a = 0; a < scene->mNumAnimations; ++a) {
        const aiAnimation* animation = scene->mAnimations[a];
        ASSERT_GT(animation->mDuration, 0.0);
        ASSERT_GT(animation->mNumChannels, 0u);
        for (unsigned c = 0; c < animation->mNumChannels; ++c) {
            const aiNodeAnim* ch = animation->mChannels[c];
            SCOPED_TRACE(std::string("animation ") + std::to_string(a) + " channel " + ch->mNodeName.C_Str());
            EXPECT_NE(scene->mRootNode->FindNode(ch->mNodeName), nullptr);
            ASSERT_GT(ch->mNumPositionKeys, 0u);
            ASSERT_GT(ch->mNumRotationKeys, 1u);
            ASSERT_GT(ch->mNumScalingKeys, 0u);
            for (unsigned k = 1; k < ch->mNumRotationKeys; ++k)
                ASSERT_GT(ch->mRotationKeys[k].mTime, ch->mRotationKeys[k - 1].mTime);
            EXPECT_DOUBLE_EQ(ch->mRotationKeys[0].mTime, 0.0);
            EXPECT_DOUBLE_EQ(ch->mRotationKeys[ch->mNumRotationKeys - 1].mTime, animation->mDuration);
            const aiQuaternion first = ch->mRotationKeys[0].mValue;
            const aiQuaternion last = ch->mRotationKeys[ch->mNumRotationKeys - 1].mValue;
            const float dot = first.w * last.w + first.x * last.x + first.y * last.y + first.z * last.z;
            EXPECT_NEAR(std::fabs(dot), 1.0f, 1e-5f);
            const aiVector3D p0 = ch->mPositionKeys[0].mValue;
            const aiVector3D p1 = ch->mPositionKeys[ch->mNumPositionKeys - 1].mValue;
            EXPECT_NEAR((p1 - p0).Length(), 0.0f, 1e-4f);
            for (unsigned k = 0; k < ch->mNumScalingKeys; ++k)
                EXPECT_NEAR((ch->mScalingKeys[k].mValue - aiVector3D(1, 1, 1)).Length(), 0.0f, 1e-4f);
        }
    }
}

TEST_F(GeneratedCharacter, StandsOnTheGroundAtFullHeightInEveryClip) {
    float bindLowest = 1e9f;
    for (unsigned v = 0; v < mesh->mNumVertices; ++v)
        bindLowest = std::fmin(bindLowest, mesh->mVertices[v].y);
    EXPECT_NEAR(bindLowest, 0.0f, 0.3f);
    for (unsigned a = 0; a < 3; ++a) {
        const std::vector<glm::vec3> p = skinned(a, 0.0f);
        float lowest = 1e9f, highest = -1e9f;
        for (const glm::vec3& v : p) {
            lowest = std::fmin(lowest, v.y);
            highest = std::fmax(highest, v.y);
        }
        EXPECT_NEAR(lowest, 0.0f, 0.5f) << "animation " << a;
        EXPECT_GT(highest, 75.0f) << "animation " << a;
        EXPECT_LT(highest, 92.0f) << "animation " << a;
    }
}

TEST_F(GeneratedCharacter, WalkSwapsTheLeadingFootEveryHalfStride) {
    for (float t : {0.0f, 0.1f, 0.8f, 1.6f}) {
        const auto now = nodeGlobals(scene, 1, t);
        const auto half = nodeGlobals(scene, 1, t + 0.5f * characterWalk::cycle);
        const float leadNow = origin(now.at("LeftFoot")).z - origin(now.at("RightFoot")).z;
        const float leadHalf = origin(half.at("LeftFoot")).z - origin(half.at("RightFoot")).z;
        EXPECT_LT(leadNow * leadHalf, 0.0f) << "at " << t << " s";
        EXPECT_NEAR(leadNow, -leadHalf, 2.0f) << "at " << t << " s";
    }
    const auto start = nodeGlobals(scene, 1, 0.0f);
    EXPECT_GT(origin(start.at("LeftFoot")).z - origin(start.at("RightFoot")).z, 20.0f)
        << "left heel strikes at 0";
}

// While the model moves forward at characterWalk::speed, sole vertices on the ground must stay where they
// are.
TEST_F(GeneratedCharacter, PlantedFeetDoNotSlideAtTheWalkSpeed) {
    const float dt = 1.0f / 96.0f;
    std::vector<glm::vec3> previous = skinned(1, 0.0f);
    double slideSum = 0.0;
    int samples = 0;
    for (int step = 1; step * dt < 1.5f; ++step) {
        const float t = float(step) * dt;
        std::vector<glm::vec3> now = skinned(1, t);
        for (size_t v = 0; v < now.size(); ++v) {
            if (now[v].y < 0.2f && previous[v].y < 0.2f) {
                const float dz = now[v].z - previous[v].z + characterWalk::speed * dt;
                slideSum += std::fabs(dz) / dt;
                ++samples;
            }
        }
        previous = std::move(now);
    }
    ASSERT_GT(samples, 1000);
    EXPECT_LT(slideSum / samples, 0.05 * characterWalk::speed) << "mean slide in model units per second";
}

TEST_F(GeneratedCharacter, SkinTextureAndSmokeSpritesDecodeForTheLoaders) {
    int w = 0, h = 0, n = 0;
    stbi_uc* skin = stbi_load((*dirA + "textures/newSkin.jpg").c_str(), &w, &h, &n, 0);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(n, 3);
    EXPECT_GE(w, 256);
    EXPECT_EQ(w, h);
    stbi_image_free(skin);

    int probeW = 0, probeH = 0;
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("smoke" + std::to_string(i));
        stbi_uc* px =
            stbi_load((*dirA + "textures/smoke" + std::to_string(i) + ".png").c_str(), &w, &h, &n, 0);
        ASSERT_NE(px, nullptr);
        EXPECT_EQ(n, 4);
        if (i == 0) {
            probeW = w;
            probeH = h;
            EXPECT_GE(w, 32);
            EXPECT_LE(w, 256);
        }
        EXPECT_EQ(w, probeW);
        EXPECT_EQ(h, probeH);
        int borderMax = 0, centreMax = 0;
        double alphaSum = 0.0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const stbi_uc* p = px + (size_t(y) * w + x) * 4;
                alphaSum += p[3];
                if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
                    borderMax = std::max(borderMax, int(p[3]));
                if (std::abs(x - w / 2) < w / 8 && std::abs(y - h / 2) < h / 8)
                    centreMax = std::max(centreMax, int(p[3]));
                if (p[3] > 25) {
                    EXPECT_GT(std::min({p[0], p[1], p[2]}), 150) << "smoke is grey-white where it shows";
                }
            }
        }
        EXPECT_EQ(borderMax, 0) << "sprite edges must fade out completely";
        EXPECT_GT(centreMax, 100);
        EXPECT_LT(centreMax, 230) << "puffs should stay partly transparent";
        EXPECT_LT(alphaSum / (255.0 * w * h), 0.35);
        stbi_image_free(px);
    }
}

TEST_F(GeneratedCharacter, TwoRunsWriteIdenticalFiles) {
    // The second run starts in a later wall-clock second, so a time stamp in any file would show.
    std::this_thread::sleep_until(generatedAt + std::chrono::milliseconds(1100));
    const std::string dirB = generateInto("duskvale_chargen_b");
    std::vector<std::string> files = {fbxFile, "textures/newSkin.jpg"};
    for (int i = 0; i < 6; ++i)
        files.push_back("textures/smoke" + std::to_string(i) + ".png");
    for (const std::string& file : files) {
        const std::string a = readBytes(*dirA + file);
        EXPECT_FALSE(a.empty()) << file;
        EXPECT_TRUE(a == readBytes(dirB + file)) << file << " differs between two runs";
    }
    std::filesystem::remove_all(dirB);
}

} // namespace
