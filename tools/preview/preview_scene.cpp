// Importing the generated models for the preview.
#include "preview_scene.hpp"

#include "scene_layout.hpp"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <stb_image.h>

#include <cmath>
#include <filesystem>
#include <map>

glm::vec3 PreviewTexture::sample(const glm::vec2& uv) const {
    if (width == 0)
        return glm::vec3(0.0f);
    const float x = uv.x * float(width) - 0.5f, y = uv.y * float(height) - 0.5f;
    const float fx = std::floor(x), fy = std::floor(y);
    auto texel = [&](int tx, int ty) {
        tx = ((tx % width) + width) % width;
        ty = ((ty % height) + height) % height;
        const unsigned char* p = &pixels[(size_t(ty) * width + tx) * channels];
        return channels >= 3 ? glm::vec3(p[0], p[1], p[2]) / 255.0f : glm::vec3(p[0] / 255.0f);
    };
    const int ix = int(fx), iy = int(fy);
    const float tx = x - fx, ty = y - fy;
    return glm::mix(glm::mix(texel(ix, iy), texel(ix + 1, iy), tx),
                    glm::mix(texel(ix, iy + 1), texel(ix + 1, iy + 1), tx), ty);
}

PreviewScene::PreviewScene() {
    device = rtcNewDevice("threads=2");
    scene = rtcNewScene(device);
}

PreviewScene::~PreviewScene() {
    rtcReleaseScene(scene);
    rtcReleaseDevice(device);
}

namespace {

// Back faces are invisible in the viewer; reject hits on them.
void cullBackFaces(const RTCFilterFunctionNArguments* args) {
    const auto* mesh = static_cast<const PreviewMesh*>(args->geometryUserPtr);
    for (unsigned i = 0; i < args->N; ++i) {
        if (args->valid[i] != -1)
            continue;
        const unsigned prim = RTCHitN_primID(args->hit, args->N, i);
        const glm::vec3 a = mesh->positions[mesh->indices[prim * 3]];
        const glm::vec3 b = mesh->positions[mesh->indices[prim * 3 + 1]];
        const glm::vec3 c = mesh->positions[mesh->indices[prim * 3 + 2]];
        const glm::vec3 dir(RTCRayN_dir_x(args->ray, args->N, i), RTCRayN_dir_y(args->ray, args->N, i),
                            RTCRayN_dir_z(args->ray, args->N, i));
        if (glm::dot(glm::cross(b - a, c - a), dir) >= 0.0f)
            args->valid[i] = 0;
    }
}

const PreviewTexture* loadTexture(PreviewScene& s, std::map<std::string, const PreviewTexture*>& cache,
                                  const std::string& path) {
    auto it = cache.find(path);
    if (it != cache.end())
        return it->second;
    auto tex = std::make_unique<PreviewTexture>();
    unsigned char* data = stbi_load(path.c_str(), &tex->width, &tex->height, &tex->channels, 0);
    if (!data) {
        s.problems.push_back("Texture failed to load at path: " + path);
        tex->width = tex->height = 0;
    } else {
        tex->pixels.assign(data, data + size_t(tex->width) * tex->height * tex->channels);
        stbi_image_free(data);
    }
    s.textures.push_back(std::move(tex));
    return cache[path] = s.textures.back().get();
}

std::vector<std::string> materialPaths(const aiMaterial* m, aiTextureType type) {
    std::vector<std::string> out;
    for (unsigned i = 0; i < aiGetMaterialTextureCount(m, type); ++i) {
        aiString p;
        aiGetMaterialTexture(m, type, i, &p);
        out.push_back(p.C_Str());
    }
    return out;
}

void addModel(PreviewScene& s, const std::string& file, const glm::mat4& toWorld,
              std::map<std::string, const PreviewTexture*>& cache) {
    Assimp::Importer importer;
    const aiScene* sc =
        importer.ReadFile("models/" + file + ".obj", aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                                         aiProcess_FlipUVs | aiProcess_CalcTangentSpace);
    if (!sc || (sc->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !sc->mRootNode) {
        s.problems.push_back("import failed: " + file + ": " + importer.GetErrorString());
        return;
    }
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(toWorld)));
    for (unsigned mi = 0; mi < sc->mNumMeshes; ++mi) {
        const aiMesh* am = sc->mMeshes[mi];
        auto mesh = std::make_unique<PreviewMesh>();
        mesh->name = am->mName.C_Str();
        mesh->sky = file == "background";
        for (unsigned v = 0; v < am->mNumVertices; ++v) {
            const aiVector3D& p = am->mVertices[v];
            const aiVector3D& n = am->mNormals[v];
            mesh->positions.push_back(glm::vec3(toWorld * glm::vec4(p.x, p.y, p.z, 1.0f)));
            mesh->normals.push_back(glm::normalize(normalMatrix * glm::vec3(n.x, n.y, n.z)));
            mesh->uvs.push_back(am->mTextureCoords[0]
                                    ? glm::vec2(am->mTextureCoords[0][v].x, am->mTextureCoords[0][v].y)
                                    : glm::vec2(0.0f));
        }
        for (unsigned f = 0; f < am->mNumFaces; ++f)
            for (unsigned k = 0; k < am->mFaces[f].mNumIndices && k < 3; ++k)
                mesh->indices.push_back(am->mFaces[f].mIndices[k]);
        // The viewer's texture list: diffuse maps, then specular maps followed by the lightmap.
        const aiMaterial* mat = sc->mMaterials[am->mMaterialIndex];
        std::vector<std::string> list = materialPaths(mat, aiTextureType_DIFFUSE);
        for (const std::string& p : materialPaths(mat, aiTextureType_SPECULAR))
            list.push_back(p);
        if (mesh->name == "Plane")
            list.push_back("Lightmaps/Lightmap.203.jpg");
        if (mesh->name.size() > 10)
            list.push_back("Lightmaps/Lightmap" + mesh->name.substr(8, 4) + ".jpg");
        mesh->lightmapped = mesh->name == "Plane" || mesh->name.size() > 10;
        if (!list.empty())
            mesh->unit0 = loadTexture(s, cache, list[0]);
        if (list.size() > 1)
            mesh->unit1 = loadTexture(s, cache, list[1]);

        RTCGeometry geom = rtcNewGeometry(s.device, RTC_GEOMETRY_TYPE_TRIANGLE);
        rtcSetSharedGeometryBuffer(geom, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3, mesh->positions.data(),
                                   0, sizeof(glm::vec3), mesh->positions.size());
        rtcSetSharedGeometryBuffer(geom, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3, mesh->indices.data(), 0,
                                   3 * sizeof(unsigned), mesh->indices.size() / 3);
        rtcSetGeometryUserData(geom, mesh.get());
        rtcSetGeometryIntersectFilterFunction(geom, cullBackFaces);
        rtcCommitGeometry(geom);
        const unsigned id = rtcAttachGeometry(s.scene, geom);
        rtcReleaseGeometry(geom);
        if (s.meshes.size() <= id)
            s.meshes.resize(id + 1);
        s.meshes[id] = std::move(mesh);
    }
}

} // namespace

void loadPreviewScene(PreviewScene& s, const std::string& assetsDir) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(assetsDir);
    std::map<std::string, const PreviewTexture*> cache;
    for (const Placement& p : scenePlacements())
        addModel(s, p.file, p.model, cache);
    std::filesystem::current_path(previous);
    rtcCommitScene(s.scene);
}
