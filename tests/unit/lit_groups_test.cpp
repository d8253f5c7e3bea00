// The lit pass's material table: drawing order, materials and light counts of its four groups.
#include "render/lit_groups.hpp"

#include <gtest/gtest.h>

namespace {

// Placements told apart by their matrices alone; no model is needed to check the table.
SceneObject tagged(float tag) {
    return SceneObject{nullptr, glm::mat4(tag)};
}

} // namespace

TEST(LitGroups, DrawBuildingTreesTerrainThenWindowCarsAndBackgroundWithTheirMaterials) {
    std::vector<SceneObject> trees;
    for (int i = 0; i < 6; ++i)
        trees.push_back(tagged(10.0f + static_cast<float>(i)));
    const std::vector<SceneObject> cars = {tagged(20.0f), tagged(21.0f), tagged(22.0f)};
    const std::vector<LitGroup> groups =
        buildLitGroups(tagged(1.0f), trees, tagged(2.0f), tagged(3.0f), cars, tagged(4.0f));

    std::vector<float> order;
    for (const LitGroup& group : groups)
        for (const SceneObject& object : group.objects)
            order.push_back(object.matrix[0][0]);
    EXPECT_EQ(order, (std::vector<float>{1, 10, 11, 12, 13, 14, 15, 2, 3, 20, 21, 22, 4}));

    ASSERT_EQ(groups.size(), 4u);
    const float ambient[4] = {0.3f, 0.3f, 0.3f, 0.7f};
    const bool reflective[4] = {false, true, true, false};
    const int points[4] = {3, 3, 0, 3};
    const int directionals[4] = {1, 1, 1, 0};
    for (size_t g = 0; g < 4; ++g) {
        SCOPED_TRACE(g);
        EXPECT_EQ(groups[g].material.ambientStrength, ambient[g]);
        EXPECT_EQ(groups[g].material.diffuseStrength, 0.5f);
        EXPECT_EQ(groups[g].material.specularStrength, 0.4f);
        EXPECT_EQ(groups[g].material.isReflective, reflective[g]);
        EXPECT_EQ(groups[g].pointCount, points[g]);
        EXPECT_EQ(groups[g].directionalCount, directionals[g]);
    }
}

// The geometry pass may leave out the shadow term only for what no moonlit group draws: the sky. The
// models are told apart by their addresses alone, which are never followed: 0 the building
// (moonlit), 1 the sky (lamps only), 2 a tree that the sky group draws as well, 3 in no group.
TEST(LitGroups, OnlyObjectsNoMoonlitGroupDrawsLeaveTheirShadowTermUnread) {
    static const char places[4] = {};
    const auto at = [](int i) {
        return SceneObject{reinterpret_cast<const Model*>(&places[i]), glm::mat4(1.0f), false};
    };
    std::vector<LitGroup> groups = buildLitGroups(at(0), {at(2)}, {}, {}, {}, at(1));
    groups.back().objects.push_back(at(2));
    std::vector<SceneObject> objects = {at(0), at(1), at(2), at(3)};
    markShadowTermReaders(objects, groups);
    EXPECT_EQ((std::vector<bool>{objects[0].shadowTermRead, objects[1].shadowTermRead,
                                 objects[2].shadowTermRead, objects[3].shadowTermRead}),
              (std::vector<bool>{true, false, true, true}));
}
