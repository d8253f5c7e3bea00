// Where the viewer puts every generated model, and the lights and fires of the scene, so that models
// can be authored in world units and lightmaps baked from the placed scene. The numbers are the
// viewer's fixed placements; the preview tool and the tests read them from here too.
#pragma once

#include <glm/glm.hpp>

#include <string>
#include <vector>

struct Placement {
    std::string file; // below models/
    glm::mat4 model;
};

struct PointLight {
    glm::vec3 position;
    glm::vec3 color;
};

// The thirteen drawn static objects in the viewer's draw order (mirror excluded).
std::vector<Placement> scenePlacements();
glm::mat4 buildingMatrix();
glm::mat4 backgroundMatrix();
glm::mat4 terrainMatrix();
glm::mat4 windowMatrix();

// The three street lamps (attenuation 0.2 + 0.02 d + 0.1 d^2) and the moon (a directional light).
std::vector<PointLight> streetLights();
glm::vec3 moonDirection(); // the direction the light travels, normalised
glm::vec3 moonColor();
// Where the smoke columns rise: A and B at burning cars, C on the building's top floor, D on its chimney.
std::vector<glm::vec3> fireEmitters();

// The camera route: position and look-at target per row.
struct CameraRow {
    glm::vec3 position;
    glm::vec3 target;
};
std::vector<CameraRow> cameraRoute();

// The building's storeys in world units.
constexpr float kStoreyHeight = 3.82f;
constexpr float kGroundFloorY = -1.0f;
constexpr float kTopFloorY = 18.1f; // the floor the character walks on
constexpr float kSlabThickness = 0.3f;
constexpr int kStoreys = 6;
// Footprint of the building in world units.
constexpr float kBuildingMinX = -14.0f, kBuildingMaxX = 4.0f;
constexpr float kBuildingMinZ = -7.5f, kBuildingMaxZ = 7.5f;
constexpr float kWallThickness = 0.3f;

// The street the second half of the flight follows, in world units.
constexpr float kRoadY = -1.5f;
constexpr float kRoadWestX = -27.0f, kRoadEastX = -21.5f;
constexpr float kWalkY = -1.35f;
constexpr float kWestWalkX = -29.0f, kEastWalkX = -18.0f;
constexpr float kLowLandY = -4.3f; // ground west of the retaining wall
