// Culling: a box is dropped only when no part of it can reach the clip volume.
#include "render/visibility.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

// A camera at the origin looking down -z, 90 degrees wide, near 0.1, far 100.
const glm::mat4 kCamera = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f);

struct BoxCase {
    const char* what;
    glm::vec3 boxMin;
    glm::vec3 boxMax;
    bool outside;
};

} // namespace

TEST(Visibility, BoxesAreCulledOnlyWhenWhollyBeyondOneClipPlane) {
    const BoxCase cases[] = {
        {"straight ahead", {-1, -1, -11}, {1, 1, -9}, false},
        {"left of the view", {-30, -1, -11}, {-12, 1, -9}, true},
        {"above the view", {-1, 12, -11}, {1, 30, -9}, true},
        {"behind the camera", {-1, -1, 5}, {1, 1, 9}, true},
        {"beyond the far plane", {-1, -1, -300}, {1, 1, -200}, true},
        {"around the camera", {-5, -5, -5}, {5, 5, 5}, false},
        // Each corner lies outside some plane, but not all outside the same one: kept.
        {"across the view's left corner", {-30, -1, -11}, {2, 1, -9}, false},
        {"reaching from behind into view", {-1, -1, -20}, {1, 1, 20}, false},
    };
    for (const BoxCase& c : cases)
        EXPECT_EQ(boxOutsideClip(c.boxMin, c.boxMax, kCamera), c.outside) << c.what;
}

// Four runs straight ahead but for the second, left of the view, and a last run of ten triangles;
// a box of NaN (a run with an index beyond the vertices) is never dropped.
TEST(Visibility, RunsOffTheViewAreLeftOutAndNeighboursJoinedInListOrder) {
    const int run = 3 * kRunTriangles;
    const std::pair<glm::vec3, glm::vec3> ahead{{-1, -1, -11}, {1, 1, -9}};
    const std::pair<glm::vec3, glm::vec3> left{{-30, -1, -11}, {-12, 1, -9}};
    std::vector<std::pair<glm::vec3, glm::vec3>> runs = {ahead, left, ahead, ahead, ahead};
    const int indexCount = 4 * run + 30;
    std::vector<IndexRange> ranges = {{7, 7}};
    visibleRuns(runs, indexCount, kCamera, ranges);
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(std::make_pair(ranges[0].first, ranges[0].count), std::make_pair(0, run));
    EXPECT_EQ(std::make_pair(ranges[1].first, ranges[1].count), std::make_pair(2 * run, 2 * run + 30));

    runs = {left, {glm::vec3(NAN), glm::vec3(NAN)}, left};
    visibleRuns(runs, 3 * run, kCamera, ranges);
    ASSERT_EQ(ranges.size(), 1u);
    EXPECT_EQ(std::make_pair(ranges[0].first, ranges[0].count), std::make_pair(run, run));
}
