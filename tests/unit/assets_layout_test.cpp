// The generated models against the viewer's own placements and flight: the character's floor and a
// camera route that passes no wall. (The street, cars, trees, lamps and smoke are checked in the
// pictures of the end-to-end image tests.)
#include "app/scene.hpp"
#include "camera/camera_path.hpp"
#include "scene_assets.hpp"

#include <gtest/gtest.h>

using namespace scene_assets;

namespace {

const SceneMatrices& placed() {
    static const SceneMatrices m = composeSceneMatrices();
    return m;
}

const Triangles& building() {
    static const ImportedModel m = importModel(assetsDir(), "Post_Apocalyptic_Building");
    static const Triangles t = m.scene ? placedTriangles(m.scene, placed().building) : Triangles{};
    return t;
}

const Triangles& terrain() {
    static const ImportedModel m = importModel(assetsDir(), "big_Terrain");
    static const Triangles t = m.scene ? placedTriangles(m.scene, placed().terrain) : Triangles{};
    return t;
}

// Height of the first surface below a point, or NaN when there is none.
float surfaceBelow(const Triangles& t, const glm::vec3& from) {
    const float d = castRay(t, from, {0, -1, 0});
    return d < 0.0f ? std::nanf("") : from.y - d;
}

} // namespace

TEST(SceneLayout, TopFloorCarriesTheCharacterFromItsStartTenUnitsTowardsMinusZ) {
    ASSERT_FALSE(building().corners.empty());
    for (float z = 3.96476f; z >= -5.1f; z -= 0.5f) {
        const glm::vec3 at(-5.35482f, 19.5f, z);
        EXPECT_NEAR(surfaceBelow(building(), at), 18.1f, 0.05f) << "floor under the walk at z " << z;
        // Head room for the character above the floor.
        const float up = castRay(building(), {at.x, 18.15f, z}, {0, 1, 0});
        EXPECT_TRUE(up < 0.0f || up > 2.5f) << "something hangs low over the walk at z " << z;
    }
}

TEST(SceneLayout, TheFlightPassesNoGeometryAndKeepsTheNearPlaneClearInsideTheBuilding) {
    const CameraPath path;
    for (size_t i = 0; i + 1 < path.rows.size(); ++i) {
        const glm::vec3 a = path.rows[i].position, b = path.rows[i + 1].position;
        const float len = glm::length(b - a);
        EXPECT_LT(castRay(building(), a, (b - a) / len, len), 0.0f)
            << "segment " << i << " hits the building";
        EXPECT_LT(castRay(terrain(), a, (b - a) / len, len), 0.0f) << "segment " << i << " hits the terrain";
        if (i >= 6)
            continue;
        // Inside the building: keep the near plane (0.1 units, a little wider at the corners) clear.
        for (float f = 0.0f; f <= 1.0f; f += 0.02f)
            for (const glm::vec3& d : {glm::vec3(1, 0, 0), glm::vec3(-1, 0, 0), glm::vec3(0, 1, 0),
                                       glm::vec3(0, -1, 0), glm::vec3(0, 0, 1), glm::vec3(0, 0, -1)})
                EXPECT_LT(castRay(building(), a + (b - a) * f, d, 0.2f), 0.0f)
                    << "segment " << i << " at " << f << " grazes geometry";
    }
}
