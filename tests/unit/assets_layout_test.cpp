// The generated models against the scene's fixed placements: the character's floor, the street the
// flight follows, where cars, trees, lamps and smoke columns stand, and a camera route through the
// building that passes no wall.
#include "scene_assets.hpp"

#include <gtest/gtest.h>

using namespace scene_assets;

namespace {

const Triangles& building() {
    static const ImportedModel m = importModel(assetsDir(), "Post_Apocalyptic_Building");
    static const Triangles t = m.scene ? placedTriangles(m.scene, buildingMatrix()) : Triangles{};
    return t;
}

const Triangles& terrain() {
    static const ImportedModel m = importModel(assetsDir(), "big_Terrain");
    static const Triangles t = m.scene ? placedTriangles(m.scene, terrainMatrix()) : Triangles{};
    return t;
}

// Height of the first surface below a point, or NaN when there is none.
float surfaceBelow(const Triangles& t, const glm::vec3& from) {
    const float d = castRay(t, from, {0, -1, 0});
    return d < 0.0f ? std::nanf("") : from.y - d;
}

const glm::vec3 kRoute[] = {{-10.8373f, 16.1101f, 1.66972f},   {-6.05672f, 16.2662f, 4.07722f},
                            {-5.34102f, 16.2951f, -0.133027f}, {-6.23165f, 16.2017f, -4.3066f},
                            {-6.49184f, 18.1267f, -9.60501f},  {-3.50684f, 19.6024f, -5.06904f},
                            {-14.1914f, 21.6207f, -12.1069f}};

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
    // And nothing stands in the camera's way at y 2 along x = -23.
    for (float z = -40.0f; z <= 32.0f; z += 1.0f)
        EXPECT_LT(castRay(terrain(), {-23.0f, 2.0f, z}, {0, 0, 1}, 1.0f), 0.0f) << "obstacle at z " << z;
}

TEST(SceneLayout, CarsRestOnTheGroundWithAllFourWheels) {
    // Car model units: wheels at x = +-0.95, z = +-0.56, touching y = -0.15.
    for (const glm::mat4& m : carMatrices())
        for (float x : {-0.95f, 0.95f})
            for (float z : {-0.56f, 0.56f}) {
                const glm::vec3 contact = glm::vec3(m * glm::vec4(x, -0.15f, z, 1.0f));
                const float ground = surfaceBelow(terrain(), contact + glm::vec3(0, 1.0f, 0));
                EXPECT_NEAR(ground, contact.y, 0.12f) << "wheel at " << contact.x << ", " << contact.z;
            }
}

TEST(SceneLayout, TreesStandOnGroundTheirTrunksReach) {
    // Trunks reach 1.2 world units below their origin.
    const glm::vec3 trees[] = {{-6, 1.5f, -19}, {-10, -0.5f, 15}, {-40, -3.5f, -5},
                               {20, -2.5f, 25}, {-30, -4.5f, 20}, {-10, -0.5f, -35}};
    for (const glm::vec3& t : trees) {
        const float ground = surfaceBelow(terrain(), t + glm::vec3(0, 3.0f, 0));
        EXPECT_GT(ground, t.y - 1.0f) << "tree at " << t.x << ", " << t.z << " floats";
        EXPECT_LT(ground, t.y + 1.5f) << "tree at " << t.x << ", " << t.z << " is buried";
    }
}

TEST(SceneLayout, LampsHangUnderTheStreetLightsAndSmokeRisesFromTheBuilding) {
    const glm::vec3 lights[] = {
        {-27.7966f, 4.64645f, -24.4273f}, {-16.298f, 4.6957f, -14.6568f}, {-26.7636f, 4.18875f, 15.5621f}};
    for (const glm::vec3& l : lights) {
        const float hood = castRay(terrain(), l, {0, 1, 0});
        EXPECT_TRUE(hood > 0.0f && hood < 0.4f) << "no lamp head over the light at z " << l.z;
    }
    // Emitter C burns on the top floor, emitter D on top of the chimney.
    EXPECT_NEAR(surfaceBelow(building(), {-12.0f, 19.5f, -3.3f}), 18.4f, 0.5f);
    EXPECT_NEAR(surfaceBelow(building(), {2.0f, 25.5f, -2.3f}), 24.6f, 0.2f);
}

TEST(SceneLayout, CameraRouteThroughTheBuildingPassesNoGeometry) {
    for (size_t i = 0; i + 1 < std::size(kRoute); ++i) {
        const glm::vec3 a = kRoute[i], b = kRoute[i + 1];
        const float len = glm::length(b - a);
        EXPECT_LT(castRay(building(), a, (b - a) / len, len), 0.0f)
            << "segment " << i << " hits the building";
        // Keep the near plane (0.1 units, a little wider at the corners) clear all along.
        for (float f = 0.0f; f <= 1.0f; f += 0.02f) {
            const glm::vec3 p = a + (b - a) * f;
            for (const glm::vec3& d : {glm::vec3(1, 0, 0), glm::vec3(-1, 0, 0), glm::vec3(0, 1, 0),
                                       glm::vec3(0, -1, 0), glm::vec3(0, 0, 1), glm::vec3(0, 0, -1)})
                EXPECT_LT(castRay(building(), p, d, 0.2f), 0.0f)
                    << "segment " << i << " at " << f << " grazes geometry";
        }
    }
}

TEST(SceneLayout, CameraRouteOutsideTheBuildingPassesNoTerrainProp) {
    // Rows 6 to 14: circling the building, then down to the street and along it.
    const glm::vec3 rows[] = {{-14.1914f, 21.6207f, -12.1069f},
                              {-29.3726f, 28.2548f, 3.07915f},
                              {-24.2505f, 42.235f, 23.247f},
                              {8.58756f, 34.8238f, 29.6038f},
                              {20.1496f, 19.3923f, -5.35249f},
                              {-23, 2, -40},
                              {-23, 2, 24},
                              {-23, 2, 28},
                              {-23, 2, 32}};
    for (size_t i = 0; i + 1 < std::size(rows); ++i) {
        const glm::vec3 a = rows[i], b = rows[i + 1];
        const float len = glm::length(b - a);
        EXPECT_LT(castRay(terrain(), a, (b - a) / len, len), 0.0f)
            << "segment from row " << i + 6 << " hits the terrain";
        EXPECT_LT(castRay(building(), a, (b - a) / len, len), 0.0f)
            << "segment from row " << i + 6 << " hits the building";
    }
}
