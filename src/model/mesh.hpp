// One indexed triangle list on the GPU, with the vertex, skinning and texture records the whole model
// subsystem shares. A mesh never deletes its GL objects, so copies stay drawable.
#pragma once

#include <glad/gl.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 texCoords{0.0f};
    glm::vec3 tangent{0.0f};
    glm::vec3 bitangent{0.0f};
};
static_assert(sizeof(Vertex) == 56, "Vertex must be 14 packed floats");

// Up to eight bone influences per vertex; a slot whose weight is exactly 0 is free.
struct VertexBoneData {
    int boneIds[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    float weights[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};
static_assert(sizeof(VertexBoneData) == 64, "VertexBoneData must be 8 ints and 8 floats");

struct Texture {
    GLuint id = 0;
    std::string type;   // "texture_diffuse", "texture_specular", "texture_normal" or "texture_height"
    std::string path;   // the path under which the texture was requested
    bool black = false; // decoded with every byte zero: sampled anywhere, it reads colour (0, 0, 0)
};

// Cells along each side of the grid that partBounds divides a mesh's box into.
constexpr int kPartGridCells = 4;
// Triangles per run of the index list that runBounds boxes.
constexpr int kRunTriangles = 128;

// A stretch of a mesh's index list: `count` indices from index `first`.
struct IndexRange {
    int first = 0;
    int count = 0;
};

struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    std::vector<Texture> textures;
    std::vector<VertexBoneData> boneData;
    GLuint vao = 0;
    GLuint vbo = 0;
    GLuint ebo = 0;
    GLuint boneVbo = 0;
    // How many indices the element buffer holds: draws go by this, so the CPU copy may be freed.
    GLsizei indexCount = 0;
    // Corners of the box around the vertex positions, in the mesh's own space (both 0 without
    // vertices); the passes use it to skip meshes that cannot reach their target.
    glm::vec3 boundsMin{0.0f};
    glm::vec3 boundsMax{0.0f};
    // A closer outline for hollow or spread-out meshes such as the sky dome, whose one box holds the
    // whole scene: the boxes (min, max) around the triangles of each non-empty cell of a
    // kPartGridCells^3 grid over the mesh's box, in the mesh's own space. Every triangle lies inside
    // one of them.
    std::vector<std::pair<glm::vec3, glm::vec3>> partBounds;
    // The boxes (min, max) around each run of kRunTriangles consecutive triangles of the index list (the
    // last run holds the rest), in list order, in the mesh's own space: a pass can skip the runs it
    // cannot see and keep the order of the rest. A run with an index beyond the vertices has a box of
    // NaN, which no test excludes.
    std::vector<std::pair<glm::vec3, glm::vec3>> runBounds;

    // Stores the arrays and uploads them once; needs a current GL context.
    Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices, std::vector<Texture> textures,
         std::vector<VertexBoneData> boneData);

    // Binds the first two textures to units 0 and 1 and draws; the caller has set up the program.
    void draw() const;
    // The same for the given stretches of the index list only, in one call; nothing without any.
    void drawRanges(const std::vector<IndexRange>& ranges) const;

  private:
    void upload();
};
