// The fixed placements of the scene, composed exactly as the viewer composes them.
#include "scene_layout.hpp"

#include <glm/gtc/matrix_transform.hpp>

namespace {

const glm::vec3 Y(0, 1, 0), X(1, 0, 0);

glm::mat4 trs(const glm::vec3& t, float degrees, float s) {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), t);
    m = glm::rotate(m, glm::radians(degrees), Y);
    return glm::scale(m, glm::vec3(s));
}

} // namespace

glm::mat4 buildingMatrix() {
    return glm::scale(glm::mat4(1.0f), glm::vec3(1.8f));
}

glm::mat4 backgroundMatrix() {
    return glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(-5, 110, 0)), glm::vec3(100.0f));
}

glm::mat4 terrainMatrix() {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(-10, -4, 0));
    m = glm::scale(m, glm::vec3(5, 8, 5));
    return glm::rotate(m, glm::radians(180.0f), Y);
}

glm::mat4 windowMatrix() {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(-18, -1.45f, 17.3f));
    m = glm::rotate(m, glm::radians(40.0f), Y);
    m = glm::scale(m, glm::vec3(1.5f));
    return glm::rotate(m, glm::radians(20.0f), X);
}

std::vector<Placement> scenePlacements() {
    return {
        {"Post_Apocalyptic_Building", buildingMatrix()},
        {"background", backgroundMatrix()},
        {"car", trs({-20, -1.1f, 8}, -100.0f, 1.5f)},
        {"car", trs({-10, -1.5f, -30}, 10.0f, 1.5f)},
        {"car", trs({-40, -4, 6}, 80.0f, 1.5f)},
        {"DeadTree1", trs({-6, 1.5f, -19}, -50.0f, 0.015f)},
        {"DeadTree21", trs({-10, -0.5f, 15}, -50.0f, 0.01f)},
        {"DeadTree1", trs({-40, -3.5f, -5}, -40.0f, 0.015f)},
        {"DeadTree21", trs({20, -2.5f, 25}, -40.0f, 0.01f)},
        {"DeadTree1", trs({-30, -4.5f, 20}, -60.0f, 0.015f)},
        {"DeadTree21", trs({-10, -0.5f, -35}, -60.0f, 0.01f)},
        {"big_Terrain", terrainMatrix()},
        {"window", windowMatrix()},
    };
}

std::vector<PointLight> streetLights() {
    const glm::vec3 c(1.0f, 0.8f, 0.8f);
    return {{{-27.7966f, 4.64645f, -24.4273f}, c},
            {{-16.298f, 4.6957f, -14.6568f}, c},
            {{-26.7636f, 4.18875f, 15.5621f}, c}};
}

glm::vec3 moonDirection() {
    return glm::normalize(glm::vec3(0.3f, -0.5f, -1.0f));
}
glm::vec3 moonColor() {
    return {0.8f, 0.6f, 0.6f};
}

std::vector<glm::vec3> fireEmitters() {
    return {{-22, 0, 7.7f}, {-10.3f, -1.5f, -30.3f}, {-12, 18, -3.3f}, {2, 24.7f, -2.3f}};
}

std::vector<CameraRow> cameraRoute() {
    return {
        {{-10.8373f, 16.1101f, 1.66972f}, {-6.05672f, 16.2662f, 8.07722f}},
        {{-6.05672f, 16.2662f, 4.07722f}, {-3.34102f, 16.2951f, 2.133027f}},
        {{-5.34102f, 16.2951f, -0.133027f}, {2.23165f, 16.2017f, -4.3066f}},
        {{-6.23165f, 16.2017f, -4.3066f}, {-4.49184f, 18.1267f, -9.60501f}},
        {{-6.49184f, 18.1267f, -9.60501f}, {-4, 20, -4.5f}},
        {{-3.50684f, 19.6024f, -5.06904f}, {-5, 20, 0}},
        {{-14.1914f, 21.6207f, -12.1069f}, {-5, 20, 0}},
        {{-29.3726f, 28.2548f, 3.07915f}, {-5, 20, 0}},
        {{-24.2505f, 42.235f, 23.247f}, {-5, 20, 0}},
        {{8.58756f, 34.8238f, 29.6038f}, {-5, 20, 0}},
        {{20.1496f, 19.3923f, -5.35249f}, {-5, 20, 0}},
        {{-23, 2, -40}, {-23, 2, 30}},
        {{-23, 2, 24}, {-23, 2, 60}},
        {{-23, 2, 28}, {-10, 2, 5}},
        {{-23, 2, 32}, {-23, 2, -30}},
    };
}
