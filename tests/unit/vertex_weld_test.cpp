// Joining equal vertices: only vertices equal in every attribute and skinning record become one,
// and every triangle keeps its corners in their order.
#include "model/vertex_weld.hpp"

#include <gtest/gtest.h>

namespace {

Vertex at(float x, float y) {
    Vertex vertex;
    vertex.position = glm::vec3(x, y, 0.0f);
    vertex.normal = glm::vec3(0.0f, 0.0f, 1.0f);
    return vertex;
}

} // namespace

TEST(WeldVertices, AQuadOfSixCornersKeepsFourAndItsTrianglesStayInOrder) {
    // Two triangles of a unit quad, each with its own copy of the shared diagonal, as imported.
    const std::vector<Vertex> corners = {at(0, 0), at(1, 0), at(1, 1), at(0, 0), at(1, 1), at(0, 1)};
    const WeldedArrays welded = weldVertices(corners, {}, {0, 1, 2, 3, 4, 5});
    EXPECT_EQ(welded.vertices.size(), 4u);
    EXPECT_TRUE(welded.boneData.empty());
    EXPECT_EQ(welded.indices, (std::vector<unsigned int>{0, 1, 2, 0, 2, 3}));

    // A texture coordinate or a skinning weight apart is another vertex; an index beyond the
    // vertices stays beyond them.
    std::vector<Vertex> seam = corners;
    seam[3].texCoords = glm::vec2(1.0f, 0.0f);
    std::vector<VertexBoneData> bones(corners.size());
    bones[4].weights[0] = 0.5f;
    const WeldedArrays apart = weldVertices(seam, bones, {0, 1, 2, 3, 4, 5, 6});
    EXPECT_EQ(apart.boneData.size(), 6u);
    EXPECT_EQ(apart.indices, (std::vector<unsigned int>{0, 1, 2, 3, 4, 5, 6}));
}
