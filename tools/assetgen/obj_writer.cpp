// OBJ and MTL text output.
#include "obj_writer.hpp"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

struct File {
    std::FILE* f = nullptr;
    explicit File(const std::string& path) : f(std::fopen(path.c_str(), "wb")) {}
    ~File() {
        if (f)
            std::fclose(f);
    }
};

void writeMesh(std::FILE* f, const MeshData& m, const glm::mat4& toModel, size_t& vBase, size_t& tBase,
               size_t& nBase) {
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(toModel)));
    std::fprintf(f, "o %s\nusemtl %s\n", m.name.c_str(), m.material.c_str());
    for (const glm::vec3& p : m.positions) {
        const glm::vec3 q = glm::vec3(toModel * glm::vec4(p, 1.0f));
        std::fprintf(f, "v %.5f %.5f %.5f\n", q.x, q.y, q.z);
    }
    // Image-space v (downwards) becomes OBJ's upward v; the viewer's UV flip turns it back.
    for (const glm::vec2& t : m.uvs)
        std::fprintf(f, "vt %.6f %.6f\n", t.x, 1.0f - t.y);
    for (const glm::vec3& n : m.normals) {
        const glm::vec3 q = glm::normalize(normalMatrix * n);
        std::fprintf(f, "vn %.4f %.4f %.4f\n", q.x, q.y, q.z);
    }
    for (size_t i = 0; i + 2 < m.indices.size(); i += 3) {
        std::fprintf(f, "f");
        for (int k = 0; k < 3; ++k) {
            const size_t idx = m.indices[i + k];
            std::fprintf(f, " %zu/%zu/%zu", vBase + idx + 1, tBase + idx + 1, nBase + idx + 1);
        }
        std::fprintf(f, "\n");
    }
    vBase += m.positions.size();
    tBase += m.uvs.size();
    nBase += m.normals.size();
}

} // namespace

bool writeObjModel(const std::string& assetsDir, const ModelData& model) {
    std::error_code ec;
    std::filesystem::create_directories(assetsDir + "/models", ec);
    const std::string base = assetsDir + "/models/" + model.fileStem;
    {
        File mtl(base + ".mtl");
        if (!mtl.f) {
            std::fprintf(stderr, "assetgen: could not write %s.mtl\n", base.c_str());
            return false;
        }
        for (const Material& mat : model.materials) {
            std::fprintf(mtl.f, "newmtl %s\nKa 1.000 1.000 1.000\nKd 1.000 1.000 1.000\n", mat.name.c_str());
            std::fprintf(mtl.f, "Ks %.3f %.3f %.3f\nNs %.1f\nd 1.0\nillum 2\n", mat.specularColor.x,
                         mat.specularColor.y, mat.specularColor.z, mat.shininess);
            std::fprintf(mtl.f, "map_Kd %s\n", mat.diffuseMap.c_str());
            if (!mat.specularMap.empty())
                std::fprintf(mtl.f, "map_Ks %s\n", mat.specularMap.c_str());
            std::fprintf(mtl.f, "\n");
        }
    }
    File obj(base + ".obj");
    if (!obj.f) {
        std::fprintf(stderr, "assetgen: could not write %s.obj\n", base.c_str());
        return false;
    }
    std::fprintf(obj.f, "# Duskvale scene model, written by duskvale_assetgen\nmtllib %s.mtl\n",
                 model.fileStem.c_str());
    size_t vBase = 0, tBase = 0, nBase = 0;
    for (const MeshData& m : model.meshes)
        writeMesh(obj.f, m, model.authoredToModel, vBase, tBase, nBase);
    return std::ferror(obj.f) == 0;
}
