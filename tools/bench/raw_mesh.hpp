// Test and benchmark geometry drawn without the model importer: boxes and planes uploaded with the
// mesh vertex layout (locations 0-4 from Vertex, 5-6 from all-zero VertexBoneData), plus loading the
// viewer's shader programs from the source tree.
#pragma once

#include "model/mesh.hpp"
#include "render/shader_program.hpp"

#include <glad/gl.h>
#include <glm/glm.hpp>

#include <cstddef>
#include <string>
#include <vector>

struct RawMesh {
    GLuint vao = 0;
    GLuint vbo = 0;
    GLuint ebo = 0;
    GLuint boneVbo = 0;
    GLsizei indexCount = 0;
};

struct RawGeometry {
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
};

inline void addQuad(RawGeometry& geometry, glm::vec3 corner, glm::vec3 edgeU, glm::vec3 edgeV) {
    const glm::vec3 normal = glm::normalize(glm::cross(edgeU, edgeV));
    const unsigned int base = static_cast<unsigned int>(geometry.vertices.size());
    const glm::vec2 uvs[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const glm::vec3 points[4] = {corner, corner + edgeU, corner + edgeU + edgeV, corner + edgeV};
    for (int i = 0; i < 4; ++i) {
        Vertex vertex;
        vertex.position = points[i];
        vertex.normal = normal;
        vertex.texCoords = uvs[i];
        vertex.tangent = glm::normalize(edgeU);
        vertex.bitangent = glm::normalize(edgeV);
        geometry.vertices.push_back(vertex);
    }
    // Counter-clockwise seen from the side the normal points to, so back-face culling keeps it.
    for (unsigned int index : {0u, 1u, 2u, 0u, 2u, 3u})
        geometry.indices.push_back(base + index);
}

// A horizontal square facing up, centred on `center`.
inline void addPlane(RawGeometry& geometry, glm::vec3 center, float halfSize) {
    addQuad(geometry, center + glm::vec3(-halfSize, 0.0f, halfSize), glm::vec3(2.0f * halfSize, 0.0f, 0.0f),
            glm::vec3(0.0f, 0.0f, -2.0f * halfSize));
}

// An axis-aligned box with outward faces.
inline void addBox(RawGeometry& geometry, glm::vec3 minCorner, glm::vec3 maxCorner) {
    const glm::vec3 size = maxCorner - minCorner;
    const glm::vec3 x(size.x, 0, 0), y(0, size.y, 0), z(0, 0, size.z);
    const glm::vec3 o = minCorner;
    addQuad(geometry, o + z, x, y);      // +z
    addQuad(geometry, o + x, -x, y);     // -z
    addQuad(geometry, o + x + z, -z, y); // +x
    addQuad(geometry, o, z, y);          // -x
    addQuad(geometry, o + y + z, x, -z); // +y
    addQuad(geometry, o, x, z);          // -y
}

inline RawMesh uploadRawMesh(const RawGeometry& geometry) {
    RawMesh mesh;
    mesh.indexCount = static_cast<GLsizei>(geometry.indices.size());
    glGenVertexArrays(1, &mesh.vao);
    glGenBuffers(1, &mesh.vbo);
    glGenBuffers(1, &mesh.ebo);
    glGenBuffers(1, &mesh.boneVbo);
    glBindVertexArray(mesh.vao);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(geometry.vertices.size() * sizeof(Vertex)),
                 geometry.vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.ebo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(geometry.indices.size() * sizeof(unsigned int)),
                 geometry.indices.data(), GL_STATIC_DRAW);
    const GLint components[5] = {3, 3, 2, 3, 3};
    const size_t offsets[5] = {offsetof(Vertex, position), offsetof(Vertex, normal),
                               offsetof(Vertex, texCoords), offsetof(Vertex, tangent),
                               offsetof(Vertex, bitangent)};
    for (GLuint location = 0; location < 5; ++location) {
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, components[location], GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<const void*>(offsets[location]));
    }
    const std::vector<VertexBoneData> bones(geometry.vertices.size());
    glBindBuffer(GL_ARRAY_BUFFER, mesh.boneVbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bones.size() * sizeof(VertexBoneData)),
                 bones.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(5);
    glVertexAttribIPointer(5, 4, GL_INT, sizeof(VertexBoneData), reinterpret_cast<const void*>(0));
    glEnableVertexAttribArray(6);
    glVertexAttribPointer(6, 4, GL_FLOAT, GL_FALSE, sizeof(VertexBoneData),
                          reinterpret_cast<const void*>(offsetof(VertexBoneData, weights)));
    glBindVertexArray(0);
    return mesh;
}

inline void drawRawMesh(const RawMesh& mesh) {
    glBindVertexArray(mesh.vao);
    glDrawElements(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

inline void deleteRawMesh(RawMesh& mesh) {
    glDeleteVertexArrays(1, &mesh.vao);
    glDeleteBuffers(1, &mesh.vbo);
    glDeleteBuffers(1, &mesh.ebo);
    glDeleteBuffers(1, &mesh.boneVbo);
    mesh = RawMesh{};
}

// Builds a program from two files of assets/shaders under `sourceRoot`.
inline ShaderProgram loadShaderProgram(const std::string& sourceRoot, const std::string& vertexFile,
                                       const std::string& fragmentFile) {
    const std::string folder = sourceRoot + "/assets/shaders/";
    return buildProgram(readShaderSource(folder + vertexFile), readShaderSource(folder + fragmentFile));
}

// A 1 x 1 texture of one colour, for material units 0 and 1.
inline GLuint createSolidTexture(glm::vec3 color) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const float texel[4] = {color.r, color.g, color.b, 1.0f};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_FLOAT, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return texture;
}
