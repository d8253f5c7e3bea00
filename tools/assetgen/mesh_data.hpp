// Triangle meshes as the generator builds them before they are written out: positions, normals and one
// texture-coordinate set per vertex, grouped into models with their materials, plus the few primitive
// shapes (quads, boxes, tubes, discs) that every model family is made of.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// Texture coordinates are kept in image space (u to the right, v down from the top row); the OBJ
// writer turns them into the usual bottom-up convention, which the viewer's UV flip undoes again.
struct MeshData {
    std::string name;
    std::string material;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    std::vector<uint32_t> indices;
    // For meshes with a lightmap: the atlas chart each vertex belongs to (uvs then hold chart-local
    // coordinates in world units until the atlas is laid out).
    std::vector<int> charts;

    uint32_t addVertex(const glm::vec3& p, const glm::vec3& n, const glm::vec2& uv, int chart = -1);
    void addTriangle(uint32_t a, uint32_t b, uint32_t c);
    // Corners counter-clockwise as seen from the side the normal points to.
    void addQuad(const glm::vec3 (&p)[4], const glm::vec3& n, const glm::vec2 (&uv)[4], int chart = -1);
    size_t triangleCount() const { return indices.size() / 3; }
};

struct Material {
    std::string name;
    std::string diffuseMap; // path relative to the assets folder
    // Unit 1, baked light: empty for lightmapped meshes (the viewer appends the lightmap), otherwise
    // kNoLightMap.
    std::string specularMap;
    glm::vec3 specularColor{0.2f};
    float shininess = 16.0f;
};

struct ModelData {
    std::string fileStem;        // models/<fileStem>.obj and .mtl
    std::deque<MeshData> meshes; // a deque, so references to meshes survive adding more
    std::vector<Material> materials;
    // Maps the coordinates the meshes were authored in to the file's model space (identity for
    // models built in their own units; the inverse placement for models authored in world units).
    glm::mat4 authoredToModel{1.0f};

    MeshData& mesh(const std::string& name, const std::string& material);
    size_t triangleCount() const;
};

// Axis-aligned box between lo and hi with outward faces; texture coordinates tile every `tile` units.
void addBox(MeshData& m, const glm::vec3& lo, const glm::vec3& hi, float tile, bool withBottom = true);
// A box with an arbitrary frame: centre, three half-extent axes (orthogonal, right-handed).
void addOrientedBox(MeshData& m, const glm::vec3& centre, const glm::vec3& ax, const glm::vec3& ay,
                    const glm::vec3& az, float tile);
// Closed-ended tube along a polyline with a radius per point; `sides` segments around. u runs around
// the tube (0..uRepeat), v along its length in units of `vTile`.
void addTube(MeshData& m, const std::vector<glm::vec3>& points, const std::vector<float>& radii, int sides,
             float uRepeat, float vTile, bool capEnd);
// Flat disc (a fan) facing `normal`, with texture coordinates mapping the disc onto the unit square.
void addDisc(MeshData& m, const glm::vec3& centre, const glm::vec3& normal, float radius, int sides);
// Applies an affine transform to positions and the matching normal transform to normals.
void transformMesh(MeshData& m, const glm::mat4& transform);
