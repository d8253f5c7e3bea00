// Uploading one mesh's vertex, index and skinning arrays into a vertex array object, and drawing it
// with its first two textures on units 0 and 1.
#include "model/mesh.hpp"

#include "model/vertex_weld.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace {

// Each triangle joins the cell of its centroid, and the cell's box grows to hold the whole triangle.
// Triangles with an index beyond the vertex array have no position to go by and are left out.
std::vector<std::pair<glm::vec3, glm::vec3>> boxesOfGridCells(const std::vector<Vertex>& vertices,
                                                              const std::vector<unsigned int>& indices,
                                                              const glm::vec3& boundsMin,
                                                              const glm::vec3& boundsMax) {
    constexpr int n = kPartGridCells;
    std::vector<std::pair<glm::vec3, glm::vec3>> cells(n * n * n,
                                                       {glm::vec3(INFINITY), glm::vec3(-INFINITY)});
    const glm::vec3 extent = boundsMax - boundsMin;
    // A flat side (0 / 0) or a position that is not a number lands in the first cell.
    const auto cellOf = [&](float value, int axis) {
        const float place = (value - boundsMin[axis]) / extent[axis] * static_cast<float>(n);
        if (!(place > 0.0f))
            return 0;
        return place >= static_cast<float>(n) ? n - 1 : static_cast<int>(place);
    };
    for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
        if (indices[i] >= vertices.size() || indices[i + 1] >= vertices.size() ||
            indices[i + 2] >= vertices.size())
            continue;
        const glm::vec3& a = vertices[indices[i]].position;
        const glm::vec3& b = vertices[indices[i + 1]].position;
        const glm::vec3& c = vertices[indices[i + 2]].position;
        const glm::vec3 centroid = (a + b + c) / 3.0f;
        auto& cell = cells[static_cast<std::size_t>(cellOf(centroid.x, 0) +
                                                    n * (cellOf(centroid.y, 1) + n * cellOf(centroid.z, 2)))];
        cell.first = glm::min(cell.first, glm::min(a, glm::min(b, c)));
        cell.second = glm::max(cell.second, glm::max(a, glm::max(b, c)));
    }
    cells.erase(std::remove_if(cells.begin(), cells.end(),
                               [](const auto& cell) { return cell.first.x > cell.second.x; }),
                cells.end());
    return cells;
}

std::vector<std::pair<glm::vec3, glm::vec3>> boxesOfTriangleRuns(const std::vector<Vertex>& vertices,
                                                                 const std::vector<unsigned int>& indices) {
    std::vector<std::pair<glm::vec3, glm::vec3>> runs;
    const std::size_t runIndices = 3 * static_cast<std::size_t>(kRunTriangles);
    for (std::size_t first = 0; first < indices.size(); first += runIndices) {
        std::pair<glm::vec3, glm::vec3> box{glm::vec3(INFINITY), glm::vec3(-INFINITY)};
        for (std::size_t i = first; i < std::min(indices.size(), first + runIndices); ++i) {
            if (indices[i] >= vertices.size()) {
                box = {glm::vec3(NAN), glm::vec3(NAN)};
                break;
            }
            box.first = glm::min(box.first, vertices[indices[i]].position);
            box.second = glm::max(box.second, vertices[indices[i]].position);
        }
        runs.push_back(box);
    }
    return runs;
}

// Leaves the last unit bound active.
void bindFirstTwo(const std::vector<Texture>& textures) {
    for (std::size_t i = 0; i < textures.size() && i < 2; ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        glBindTexture(GL_TEXTURE_2D, textures[i].id);
    }
}

// Draws go through these so that a frame allocates nothing once they have grown.
std::vector<GLsizei> rangeCounts;
std::vector<const void*> rangeOffsets;

} // namespace

Mesh::Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices, std::vector<Texture> textures,
           std::vector<VertexBoneData> boneData)
    : vertices(std::move(vertices)), indices(std::move(indices)), textures(std::move(textures)),
      boneData(std::move(boneData)) {
    if (!this->vertices.empty()) {
        boundsMin = boundsMax = this->vertices.front().position;
        for (const Vertex& vertex : this->vertices) {
            boundsMin = glm::min(boundsMin, vertex.position);
            boundsMax = glm::max(boundsMax, vertex.position);
        }
    }
    partBounds = boxesOfGridCells(this->vertices, this->indices, boundsMin, boundsMax);
    runBounds = boxesOfTriangleRuns(this->vertices, this->indices);
    upload();
}

void Mesh::upload() {
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glGenBuffers(1, &ebo);
    glGenBuffers(1, &boneVbo);

    glBindVertexArray(vao);

    // The GPU holds each distinct vertex once; the CPU arrays stay as imported.
    const WeldedArrays welded = weldVertices(vertices, boneData, indices);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(welded.vertices.size() * sizeof(Vertex)),
                 welded.vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(welded.indices.size() * sizeof(unsigned int)), welded.indices.data(),
                 GL_STATIC_DRAW);
    indexCount = static_cast<GLsizei>(welded.indices.size());

    struct FloatAttribute {
        GLuint location;
        GLint components;
        std::size_t offset;
    };
    const FloatAttribute vertexAttributes[] = {
        {0, 3, offsetof(Vertex, position)},  {1, 3, offsetof(Vertex, normal)},
        {2, 2, offsetof(Vertex, texCoords)}, {3, 3, offsetof(Vertex, tangent)},
        {4, 3, offsetof(Vertex, bitangent)},
    };
    for (const FloatAttribute& attribute : vertexAttributes) {
        glEnableVertexAttribArray(attribute.location);
        glVertexAttribPointer(attribute.location, attribute.components, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<const void*>(attribute.offset));
    }

    glBindBuffer(GL_ARRAY_BUFFER, boneVbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(welded.boneData.size() * sizeof(VertexBoneData)),
                 welded.boneData.data(), GL_STATIC_DRAW);
    // Bone indices must reach the shader as integers: a float conversion would make them unusable as
    // array indices.
    glEnableVertexAttribArray(5);
    glVertexAttribIPointer(5, 4, GL_INT, sizeof(VertexBoneData),
                           reinterpret_cast<const void*>(offsetof(VertexBoneData, boneIds)));
    glEnableVertexAttribArray(6);
    glVertexAttribPointer(6, 4, GL_FLOAT, GL_FALSE, sizeof(VertexBoneData),
                          reinterpret_cast<const void*>(offsetof(VertexBoneData, weights)));

    glBindVertexArray(0);
}

// Leaves GL_TEXTURE0 active and the mesh's textures bound on units 0 and 1.
void Mesh::draw() const {
    bindFirstTwo(textures);
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    glActiveTexture(GL_TEXTURE0);
}

// Leaves GL_TEXTURE0 active and the mesh's textures bound on units 0 and 1.
void Mesh::drawRanges(const std::vector<IndexRange>& ranges) const {
    if (ranges.empty())
        return;
    rangeCounts.clear();
    rangeOffsets.clear();
    for (const IndexRange& range : ranges) {
        rangeCounts.push_back(range.count);
        rangeOffsets.push_back(
            reinterpret_cast<const void*>(static_cast<std::size_t>(range.first) * sizeof(unsigned int)));
    }
    bindFirstTwo(textures);
    glBindVertexArray(vao);
    glMultiDrawElements(GL_TRIANGLES, rangeCounts.data(), GL_UNSIGNED_INT, rangeOffsets.data(),
                        static_cast<GLsizei>(rangeCounts.size()));
    glBindVertexArray(0);
    glActiveTexture(GL_TEXTURE0);
}
