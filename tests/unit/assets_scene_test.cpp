// The generated scene models as the viewer will load them from build/assets: every file imports with
// the viewer's flags, every texture a mesh binds decodes, baked light goes only where it belongs, and
// the sky dome faces inwards around the whole flight.
#include "app/scene.hpp"
#include "camera/camera_path.hpp"
#include "scene_assets.hpp"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <map>

using namespace scene_assets;

namespace {

const aiScene* scene(const std::string& stem) {
    static std::map<std::string, ImportedModel> loaded;
    if (loaded.empty())
        for (const std::string& s : kModelFiles)
            loaded[s] = importModel(assetsDir(), s);
    return loaded.at(stem).scene;
}

} // namespace

TEST(SceneModels, EveryModelImportsWithTheViewersFlags) {
    for (const std::string& stem : kModelFiles) {
        const aiScene* s = scene(stem);
        ASSERT_NE(s, nullptr) << stem << " (is the assets target built?)";
        EXPECT_FALSE(s->mFlags & AI_SCENE_FLAGS_INCOMPLETE) << stem;
        EXPECT_GT(s->mNumMeshes, 0u) << stem;
    }
}

// The viewer loads a mesh's diffuse maps, its specular maps, the lightmap its name selects, then normal
// and height maps, and binds the first two: units 0 and 1 must both be the mesh's own, or it samples whatever
// the previous mesh left. The lit shaders add unit 1 as baked light: without a lightmap it must be black RGB,
// since a grey specular map would make the mesh glow and a one-channel image samples as (r, 0, 0), a red
// tint.
TEST(SceneModels, EveryBoundTextureDecodesAndBakedLightGoesOnlyWhereALightmapIs) {
    std::map<std::string, std::string> lightmapOwners;
    size_t unlit = 0;
    for (const std::string& stem : kModelFiles) {
        const aiScene* s = scene(stem);
        ASSERT_NE(s, nullptr) << stem;
        for (unsigned i = 0; i < s->mNumMeshes; ++i) {
            const aiMesh* mesh = s->mMeshes[i];
            const std::string name = stem + "/" + mesh->mName.C_Str();
            const aiMaterial* mat = s->mMaterials[mesh->mMaterialIndex];
            std::vector<std::string> bound = texturePaths(mat, aiTextureType_DIFFUSE);
            for (const std::string& p : texturePaths(mat, aiTextureType_SPECULAR))
                bound.push_back(p);
            const auto lightmap = lightmapFor(mesh->mName.C_Str());
            if (lightmap) {
                bound.push_back(*lightmap);
                const auto [it, fresh] = lightmapOwners.emplace(*lightmap, name);
                EXPECT_TRUE(fresh) << *lightmap << " is claimed by " << it->second << " and " << name;
            }
            for (aiTextureType t : {aiTextureType_HEIGHT, aiTextureType_AMBIENT})
                for (const std::string& p : texturePaths(mat, t))
                    bound.push_back(p);
            ASSERT_GE(bound.size(), 2u) << name;
            if (lightmap) {
                EXPECT_EQ(bound[1], *lightmap) << name << ": its lightmap must be the second texture";
            }
            for (size_t unit = 0; unit < bound.size(); ++unit) {
                int w = 0, h = 0, channels = 0;
                unsigned char* pixels =
                    stbi_load((assetsDir() + "/" + bound[unit]).c_str(), &w, &h, &channels, 0);
                ASSERT_NE(pixels, nullptr) << name << ": " << bound[unit];
                EXPECT_TRUE(channels == 1 || channels == 3 || channels == 4) << bound[unit];
                EXPECT_LE(w, 1024) << bound[unit];
                if (unit == 1 && !lightmap) {
                    EXPECT_GE(channels, 3) << bound[1] << " on unit 1 of " << name;
                    EXPECT_EQ(*std::max_element(pixels, pixels + size_t(w) * h * channels), 0)
                        << bound[1] << " on unit 1 of " << name << " would add light";
                    ++unlit;
                }
                stbi_image_free(pixels);
            }
        }
    }
    EXPECT_GE(lightmapOwners.size(), 3u) << "the scene should have lightmapped meshes";
    EXPECT_TRUE(lightmapOwners.count("Lightmaps/Lightmap.203.jpg")) << "the ground is the mesh named Plane";
    EXPECT_GT(unlit, 20u);
}

TEST(SceneModels, SkyDomeFacesItsCentreAndEnclosesTheWholeFlight) {
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
    const glm::mat4 placement = composeSceneMatrices().background;
    const glm::vec3 worldCentre = glm::vec3(placement * glm::vec4(centre, 1.0f));
    const float worldRadius = radius * glm::length(glm::vec3(placement[0]));
    for (const CameraPathRow& row : CameraPath{}.rows) {
        EXPECT_LT(glm::length(row.position - worldCentre), worldRadius) << "camera outside the sky";
        EXPECT_LT(glm::length(row.position - worldCentre) + worldRadius, 250.0f)
            << "sky beyond the far plane";
    }
}
