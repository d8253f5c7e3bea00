// Joining the vertices of a triangle list that are the same in every attribute, so that the vertex
// stage shades each once: imported meshes repeat a vertex for every triangle that uses it.
#pragma once

#include "model/mesh.hpp"

#include <vector>

struct WeldedArrays {
    std::vector<Vertex> vertices;
    // Empty when the input had no skinning records.
    std::vector<VertexBoneData> boneData;
    std::vector<unsigned int> indices;
};

// Vertices (with their skinning record, where there is one) equal byte for byte become one, kept at
// its first place; the indices, in their order, name the joined vertices. Equal bytes give equal
// vertex-stage outputs, so the triangles and their order, and so the picture, stay exactly the same.
// An index beyond the vertices stays beyond them.
WeldedArrays weldVertices(const std::vector<Vertex>& vertices, const std::vector<VertexBoneData>& boneData,
                          const std::vector<unsigned int>& indices);
