// Uploading one mesh's vertex, index and skinning arrays into a vertex array object, and drawing it
// with its first two textures on units 0 and 1.
#include "model/mesh.hpp"

#include <cstddef>
#include <utility>

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
    upload();
}

void Mesh::upload() {
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glGenBuffers(1, &ebo);
    glGenBuffers(1, &boneVbo);

    glBindVertexArray(vao);

    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned int)),
                 indices.data(), GL_STATIC_DRAW);
    indexCount = static_cast<GLsizei>(indices.size());

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
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(boneData.size() * sizeof(VertexBoneData)),
                 boneData.data(), GL_STATIC_DRAW);
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
    for (std::size_t i = 0; i < textures.size() && i < 2; ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        glBindTexture(GL_TEXTURE_2D, textures[i].id);
    }
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    glActiveTexture(GL_TEXTURE0);
}
