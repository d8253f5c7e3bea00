// The generated models against the viewer's own placements, lights and flight: the character's floor,
// the street, cars and trees standing on the ground, lamp heads over the lights, emitters on the
// building, and a camera route that passes no wall.
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

glm::vec3 origin(const glm::mat4& m) {
    return glm::vec3(m[3]);
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

TEST(SceneLayout, StreetLiesAtGroundLevelWhereTheCameraAndCharacterGo) {
    ASSERT_FALSE(terrain().corners.empty());
    for (float x : {-23.0f, -25.0f})
        for (float z = -40.0f; z <= 35.0f; z += 5.0f)
            EXPECT_NEAR(surfaceBelow(terrain(), {x, 5.0f, z}), -1.5f, 0.08f)
                << "street at x " << x << " z " << z;
}

TEST(SceneLayout, CarsAndTreesStandOnTheGroundAndLampsAndEmittersWhereTheyShould) {
    // Car model units: wheels at x = +-0.95, z = +-0.56, touching y = -0.15.
    for (const glm::mat4& m : {placed().carA, placed().carB, placed().carC})
        for (float x : {-0.95f, 0.95f})
            for (float z : {-0.56f, 0.56f}) {
                const glm::vec3 contact = glm::vec3(m * glm::vec4(x, -0.15f, z, 1.0f));
                const float ground = surfaceBelow(terrain(), contact + glm::vec3(0, 1.0f, 0));
                EXPECT_NEAR(ground, contact.y, 0.12f) << "wheel at " << contact.x << ", " << contact.z;
            }
    // Trunks reach 1.2 world units below their origin.
    for (const glm::mat4& m : placed().trees) {
        const glm::vec3 t = origin(m);
        const float ground = surfaceBelow(terrain(), t + glm::vec3(0, 3.0f, 0));
        EXPECT_GT(ground, t.y - 1.0f) << "tree at " << t.x << ", " << t.z << " floats";
        EXPECT_LT(ground, t.y + 1.5f) << "tree at " << t.x << ", " << t.z << " is buried";
    }
    for (const glm::vec3& l : SceneLights{}.pointPositions) {
        const float hood = castRay(terrain(), l, {0, 1, 0});
        EXPECT_TRUE(hood > 0.0f && hood < 0.4f) << "no lamp head over the light at z " << l.z;
    }
    // Emitter C burns on the top floor, emitter D on top of the chimney.
    for (int e : {2, 3}) {
        const glm::vec3 at = origin(placed().emitters[static_cast<size_t>(e)]);
        EXPECT_NEAR(surfaceBelow(building(), at + glm::vec3(0, 0.8f, 0)), at.y, 0.5f) << "emitter " << e;
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
