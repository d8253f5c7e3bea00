// The generated scene models as the viewer will load them from build/assets: every file imports with
// the viewer's flags, every mesh finds its textures and lightmap, lightmapped meshes carry a usable
// unwrap, the sky dome faces inwards, sizes suit start-up, and the generator is reproducible.
#include "scene_assets.hpp"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

using namespace scene_assets;

namespace {

class SceneModels : public ::testing::Test {
  protected:
    static std::map<std::string, ImportedModel>& models() {
        static std::map<std::string, ImportedModel> loaded;
        if (loaded.empty())
            for (const std::string& stem : kModelFiles)
                loaded[stem] = importModel(assetsDir(), stem);
        return loaded;
    }
    static const aiScene* scene(const std::string& stem) { return models().at(stem).scene; }
};

bool decodes(const std::string& path, int& width, int& channels) {
    int h = 0;
    unsigned char* data = stbi_load(path.c_str(), &width, &h, &channels, 0);
    if (!data)
        return false;
    stbi_image_free(data);
    return true;
}

} // namespace

TEST_F(SceneModels, EveryModelImportsWithTheViewersFlags) {
    for (const std::string& stem : kModelFiles) {
        const aiScene* s = scene(stem);
        ASSERT_NE(s, nullptr) << stem << ": " << models().at(stem).importer->GetErrorString()
                              << " (is the assets target built?)";
        EXPECT_FALSE(s->mFlags & AI_SCENE_FLAGS_INCOMPLETE) << stem;
        EXPECT_NE(s->mRootNode, nullptr) << stem;
        EXPECT_GT(s->mNumMeshes, 0u) << stem;
    }
}

TEST_F(SceneModels, EveryMeshHasAShortNameOrItsOwnLightmap) {
    std::map<std::string, std::string> owners; // lightmap path -> mesh that uses it
    for (const std::string& stem : kModelFiles) {
        const aiScene* s = scene(stem);
        ASSERT_NE(s, nullptr) << stem;
        for (unsigned i = 0; i < s->mNumMeshes; ++i) {
            const std::string name = s->mMeshes[i]->mName.C_Str();
            const auto lightmap = lightmapFor(name);
            if (!lightmap)
                continue;
            int w = 0, channels = 0;
            EXPECT_TRUE(decodes(assetsDir() + "/" + *lightmap, w, channels))
                << stem << " mesh " << name << " needs " << *lightmap;
            // Two meshes with the same key would share, and fight over, one lightmap file.
            const auto [it, fresh] = owners.emplace(*lightmap, stem + "/" + name);
            EXPECT_TRUE(fresh) << *lightmap << " is claimed by " << it->second << " and " << stem << "/"
                               << name;
        }
    }
    EXPECT_GE(owners.size(), 3u) << "the scene should have lightmapped meshes";
    EXPECT_TRUE(owners.count("Lightmaps/Lightmap.203.jpg")) << "the ground is the mesh named Plane";
}

TEST_F(SceneModels, EveryTextureTheMaterialsNameDecodesWithASupportedChannelCount) {
    for (const std::string& stem : kModelFiles) {
        const aiScene* s = scene(stem);
        ASSERT_NE(s, nullptr) << stem;
        for (unsigned i = 0; i < s->mNumMeshes; ++i) {
            const aiMesh* mesh = s->mMeshes[i];
            const aiMaterial* mat = s->mMaterials[mesh->mMaterialIndex];
            std::vector<std::string> bound = texturePaths(mat, aiTextureType_DIFFUSE);
            for (const std::string& p : texturePaths(mat, aiTextureType_SPECULAR))
                bound.push_back(p);
            if (const auto lm = lightmapFor(mesh->mName.C_Str()))
                bound.push_back(*lm);
            for (aiTextureType t : {aiTextureType_HEIGHT, aiTextureType_AMBIENT})
                for (const std::string& p : texturePaths(mat, t))
                    bound.push_back(p);
            // Units 0 and 1 must both be this mesh's own, or it samples whatever the previous mesh left.
            EXPECT_GE(bound.size(), 2u) << stem << " mesh " << mesh->mName.C_Str();
            for (const std::string& p : bound) {
                int w = 0, channels = 0;
                ASSERT_TRUE(decodes(assetsDir() + "/" + p, w, channels)) << stem << ": " << p;
                EXPECT_TRUE(channels == 1 || channels == 3 || channels == 4) << p << " has " << channels;
                EXPECT_LE(w, 1024) << p;
            }
        }
    }
}

// The lit shaders add a mesh's second texture (unit 1) to its surface as baked light. Everywhere but
// on lightmapped meshes it must add nothing: a grey specular map would make the mesh glow, and a
// one-channel image samples as (r, 0, 0), a red tint.
TEST_F(SceneModels, MeshesWithoutALightmapBindABlackRgbImageAsTheirBakedLight) {
    size_t checked = 0;
    for (const std::string& stem : kModelFiles) {
        const aiScene* s = scene(stem);
        ASSERT_NE(s, nullptr) << stem;
        for (unsigned i = 0; i < s->mNumMeshes; ++i) {
            const aiMesh* mesh = s->mMeshes[i];
            const std::string name = mesh->mName.C_Str();
            const aiMaterial* mat = s->mMaterials[mesh->mMaterialIndex];
            // The viewer's order: diffuse maps, specular maps, then the lightmap its name selects.
            std::vector<std::string> textures = texturePaths(mat, aiTextureType_DIFFUSE);
            for (const std::string& p : texturePaths(mat, aiTextureType_SPECULAR))
                textures.push_back(p);
            const auto lightmap = lightmapFor(name);
            if (lightmap)
                textures.push_back(*lightmap);
            ASSERT_GE(textures.size(), 2u) << stem << " mesh " << name;
            if (lightmap) {
                EXPECT_EQ(textures[1], *lightmap) << stem << " mesh " << name;
                continue;
            }
            int width = 0, height = 0, channels = 0;
            unsigned char* pixels =
                stbi_load((assetsDir() + "/" + textures[1]).c_str(), &width, &height, &channels, 0);
            ASSERT_NE(pixels, nullptr) << stem << " mesh " << name << ": " << textures[1];
            EXPECT_GE(channels, 3) << textures[1] << " on unit 1 of " << stem << " mesh " << name;
            unsigned char brightest = 0;
            for (size_t k = 0; k < size_t(width) * size_t(height) * size_t(channels); ++k)
                brightest = std::max(brightest, pixels[k]);
            stbi_image_free(pixels);
            EXPECT_EQ(brightest, 0) << textures[1] << " on unit 1 of " << stem << " mesh " << name
                                    << " would add light";
            ++checked;
        }
    }
    EXPECT_GT(checked, 20u);
}

TEST_F(SceneModels, LightmappedMeshesHaveOneDiffuseMapAndNoSpecularMap) {
    for (const std::string& stem : kModelFiles)
        for (unsigned i = 0; i < scene(stem)->mNumMeshes; ++i) {
            const aiMesh* mesh = scene(stem)->mMeshes[i];
            if (!lightmapFor(mesh->mName.C_Str()))
                continue;
            const aiMaterial* mat = scene(stem)->mMaterials[mesh->mMaterialIndex];
            EXPECT_EQ(aiGetMaterialTextureCount(mat, aiTextureType_DIFFUSE), 1u) << mesh->mName.C_Str();
            EXPECT_EQ(aiGetMaterialTextureCount(mat, aiTextureType_SPECULAR), 0u)
                << mesh->mName.C_Str() << ": its lightmap must be the second texture";
        }
}

TEST_F(SceneModels, LightmapUnwrapsLieInTheUnitSquareWithoutOverlap) {
    constexpr int kGrid = 512;
    for (const std::string& stem : kModelFiles)
        for (unsigned i = 0; i < scene(stem)->mNumMeshes; ++i) {
            const aiMesh* mesh = scene(stem)->mMeshes[i];
            if (!lightmapFor(mesh->mName.C_Str()))
                continue;
            ASSERT_NE(mesh->mTextureCoords[0], nullptr) << mesh->mName.C_Str();
            std::vector<unsigned char> cover(kGrid * kGrid, 0);
            size_t covered = 0, overlapped = 0;
            for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                glm::vec2 t[3];
                for (int k = 0; k < 3; ++k) {
                    const aiVector3D& uv = mesh->mTextureCoords[0][mesh->mFaces[f].mIndices[k]];
                    t[k] = {uv.x, uv.y};
                    ASSERT_TRUE(uv.x >= 0.0f && uv.x <= 1.0f && uv.y >= 0.0f && uv.y <= 1.0f)
                        << mesh->mName.C_Str() << " has texture coordinates outside [0,1]";
                }
                // Count the grid cell centres each triangle covers (strictly inside, so shared edges
                // are not double counted).
                const glm::vec2 lo = glm::min(t[0], glm::min(t[1], t[2])) * float(kGrid);
                const glm::vec2 hi = glm::max(t[0], glm::max(t[1], t[2])) * float(kGrid);
                const float area =
                    (t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[2].x - t[0].x) * (t[1].y - t[0].y);
                if (std::abs(area) < 1e-12f)
                    continue;
                for (int y = std::max(0, int(lo.y)); y <= std::min(kGrid - 1, int(hi.y)); ++y)
                    for (int x = std::max(0, int(lo.x)); x <= std::min(kGrid - 1, int(hi.x)); ++x) {
                        const glm::vec2 p((float(x) + 0.5f) / kGrid, (float(y) + 0.5f) / kGrid);
                        float w[3];
                        for (int k = 0; k < 3; ++k) {
                            const glm::vec2 a = t[(k + 1) % 3], b = t[(k + 2) % 3];
                            w[k] = ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / area;
                        }
                        if (w[0] > 1e-4f && w[1] > 1e-4f && w[2] > 1e-4f) {
                            unsigned char& c = cover[size_t(y) * kGrid + x];
                            covered += c == 0;
                            overlapped += c == 1;
                            c = c < 2 ? c + 1 : 2;
                        }
                    }
            }
            EXPECT_GT(covered, size_t(kGrid * kGrid / 20))
                << mesh->mName.C_Str() << " uses little of its atlas";
            EXPECT_LE(overlapped, covered / 1000) << mesh->mName.C_Str() << " has overlapping charts";
        }
}

TEST_F(SceneModels, SkyDomeFacesItsCentreAndEnclosesTheWholeFlight) {
    const aiScene* s = scene("background");
    ASSERT_NE(s, nullptr);
    const aiMesh* dome = s->mMeshes[0];
    for (unsigned i = 1; i < s->mNumMeshes; ++i)
        if (s->mMeshes[i]->mNumFaces > dome->mNumFaces)
            dome = s->mMeshes[i];
    // The dome is a sphere cut below the horizon: its centre lies mid-way across, one radius below
    // the top.
    glm::vec3 lo(1e30f), hi(-1e30f);
    for (unsigned v = 0; v < dome->mNumVertices; ++v) {
        const glm::vec3 p(dome->mVertices[v].x, dome->mVertices[v].y, dome->mVertices[v].z);
        lo = glm::min(lo, p);
        hi = glm::max(hi, p);
    }
    const glm::vec3 centre(0.5f * (lo.x + hi.x), hi.y - 0.5f * (hi.x - lo.x), 0.5f * (lo.z + hi.z));
    // It must reach below the horizon all round, or the sky would end above the distant hills.
    EXPECT_LT(lo.y - centre.y, -0.05f * (hi.x - lo.x)) << "the dome stops above the horizon";
    float radius = 0.0f;
    size_t outward = 0;
    for (unsigned f = 0; f < dome->mNumFaces; ++f) {
        glm::vec3 p[3];
        for (int k = 0; k < 3; ++k) {
            const aiVector3D& a = dome->mVertices[dome->mFaces[f].mIndices[k]];
            p[k] = {a.x, a.y, a.z};
            radius = std::max(radius, glm::length(p[k] - centre));
        }
        // Counter-clockwise seen from the centre: the winding normal points back at it.
        outward +=
            glm::dot(glm::cross(p[1] - p[0], p[2] - p[0]), (p[0] + p[1] + p[2]) / 3.0f - centre) > 0.0f;
    }
    EXPECT_EQ(outward, 0u) << "back faces are culled: every dome triangle must face inwards";
    const glm::vec3 worldCentre = glm::vec3(backgroundMatrix() * glm::vec4(centre, 1.0f));
    const float worldRadius = radius * 100.0f;
    const glm::vec3 route[] = {{-10.8373f, 16.1101f, 1.66972f},
                               {-24.2505f, 42.235f, 23.247f},
                               {20.1496f, 19.3923f, -5.35249f},
                               {-23, 2, -40},
                               {-23, 2, 32}};
    for (const glm::vec3& eye : route) {
        EXPECT_LT(glm::length(eye - worldCentre), worldRadius) << "camera outside the sky";
        EXPECT_LT(glm::length(eye - worldCentre) + worldRadius, 250.0f) << "sky beyond the far plane";
    }
}

TEST_F(SceneModels, TriangleCountsStayModestForStartUp) {
    // Drawn objects: one building, background, terrain and window, three cars, three of each tree.
    const std::map<std::string, int> copies = {{"Post_Apocalyptic_Building", 1},
                                               {"background", 1},
                                               {"car", 3},
                                               {"DeadTree1", 3},
                                               {"DeadTree21", 3},
                                               {"window", 1},
                                               {"big_Terrain", 1},
                                               {"mirror", 0}};
    size_t total = 0;
    for (const auto& [stem, n] : copies) {
        size_t faces = 0;
        for (unsigned i = 0; i < scene(stem)->mNumMeshes; ++i)
            faces += scene(stem)->mMeshes[i]->mNumFaces;
        total += faces * size_t(n);
        if (stem == "mirror") {
            EXPECT_LE(faces, 16u) << "the mirror is never drawn";
        }
    }
    EXPECT_LT(total, 150000u);
    EXPECT_GT(total, 20000u) << "suspiciously little geometry";
}

TEST(SceneModelGenerator, TwoRunsWriteByteIdenticalFiles) {
    const std::string a = ::testing::TempDir() + "duskvale_models_a",
                      b = ::testing::TempDir() + "duskvale_models_b";
    for (const std::string& dir : {a, b}) {
        std::filesystem::remove_all(dir);
        const std::string cmd =
            std::string("\"") + DUSKVALE_ASSETGEN + "\" \"" + dir + "\" models > /dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    std::set<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(a))
        if (e.is_regular_file())
            files.insert(std::filesystem::relative(e.path(), a).string());
    EXPECT_GT(files.size(), 30u);
    for (const std::string& f : files) {
        std::ifstream fa(a + "/" + f, std::ios::binary), fb(b + "/" + f, std::ios::binary);
        ASSERT_TRUE(fb.good()) << f << " missing from the second run";
        const std::string ca((std::istreambuf_iterator<char>(fa)), {}),
            cb((std::istreambuf_iterator<char>(fb)), {});
        EXPECT_TRUE(ca == cb) << f << " differs between runs";
    }
    size_t count = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(b))
        count += e.is_regular_file();
    EXPECT_EQ(count, files.size());
    std::filesystem::remove_all(a);
    std::filesystem::remove_all(b);
}
