// The lit pass starts from the depth the geometry pass stored and shades only the fragments that
// meet it. On a crowded view (hundreds of tilted, scaled boxes in front of each other) every pixel
// the geometry pass covered must come out lit, and the lit programs' depth must equal the stored
// one exactly, the bound the invariant positions of both vertex stages promise.
#include "render/lit_pass.hpp"
#include "render_test_scene.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

// One box from the origin to (1, 1, 1), shared by every draw.
const RawMesh& unitBox() {
    static const RawMesh box = [] {
        RawGeometry geometry;
        addBox(geometry, glm::vec3(0.0f), glm::vec3(1.0f));
        return uploadRawMesh(geometry);
    }();
    return box;
}

// `count` boxes tilted, stretched and scattered in front of the test camera, fixed from run to run.
std::vector<glm::mat4> crowdPlacements(int count) {
    unsigned int state = 12345u;
    auto next = [&state](float low, float high) {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<float>(state >> 8) / 16777216.0f;
    };
    std::vector<glm::mat4> placements;
    for (int i = 0; i < count; ++i) {
        glm::mat4 m = glm::translate(glm::mat4(1.0f),
                                     glm::vec3(next(-9.0f, 8.0f), next(-1.0f, 5.0f), next(-12.0f, 6.0f)));
        m = glm::rotate(m, next(0.0f, 6.28f),
                        glm::normalize(glm::vec3(next(-1, 1), next(0.1f, 1), next(-1, 1))));
        placements.push_back(glm::scale(m, glm::vec3(next(0.2f, 3.0f), next(0.2f, 3.0f), next(0.05f, 2.0f))));
    }
    return placements;
}

// Grey albedo on unit 0 and no baked light on unit 1.
void bindGreyMaterial() {
    static const GLuint grey = createSolidTexture(glm::vec3(0.5f));
    static const GLuint black = createSolidTexture(glm::vec3(0.0f));
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, black);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, grey);
    testPrograms().phong.setInt("diffuse", 0);
    testPrograms().phong.setInt("specular", 1);
}

// How a lit draw tests against the copied depth: as the pass sets it up, or with GL_EQUAL, which
// passes only where the lit depth is the stored one to the last bit.
enum class DepthCheck { AsThePassSetsIt, ExactlyEqual };

// The unit box at each `geometry` placement through the geometry pass, then at each `lit` placement
// through the lit pass (as it sets the depth test up, or with GL_EQUAL); returns sceneColor as RGBA.
std::vector<float> geometryThenLit(const std::vector<glm::mat4>& geometry, const std::vector<glm::mat4>& lit,
                                   DepthCheck check) {
    const RenderTargets& targets = sharedTargets().targets;
    const TestPrograms& programs = testPrograms();
    const FrameView frame = testFrameView(targets);
    beginGeometryPass(programs.geometry, targets, computeLightSpaceMatrix(), frame);
    for (const glm::mat4& placement : geometry) {
        programs.geometry.setMat4("model", placement);
        drawRawMesh(unitBox());
    }
    keepStaticDepth(targets);

    beginLitPass(targets);
    if (check == DepthCheck::ExactlyEqual)
        glDepthFunc(GL_EQUAL);
    applyLightSet(programs.phong, frame.cameraPosition, lampAndMoon(), frame.viewProj, MaterialParams{}, 2.0f,
                  AppState{});
    bindLitPassInputs(programs.phong, targets);
    bindGreyMaterial();
    for (const glm::mat4& placement : lit) {
        programs.phong.setMat4("modelMatrix", placement);
        drawRawMesh(unitBox());
    }
    endLitPass();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    return readTexture(targets.sceneColor, GL_RGBA, 4, targets.width, targets.height);
}

} // namespace

TEST(DepthReuse, EveryCoveredPixelIsLitOnACrowdedView) {
    const RenderTargets& targets = sharedTargets().targets;
    const std::vector<glm::mat4> crowd = crowdPlacements(400);
    for (DepthCheck check : {DepthCheck::AsThePassSetsIt, DepthCheck::ExactlyEqual}) {
        SCOPED_TRACE(check == DepthCheck::ExactlyEqual ? "GL_EQUAL" : "the pass's own depth test");
        const std::vector<float> color = geometryThenLit(crowd, crowd, check);
        // The geometry pass's view-space position: z < 0 where a surface was drawn, the white clear
        // elsewhere.
        const std::vector<float> position =
            readTexture(targets.gPositionTexture, GL_RGBA, 4, targets.width, targets.height);
        int covered = 0, leftAtClear = 0, litUncovered = 0;
        for (size_t i = 0; i < position.size() / 4; ++i) {
            const bool drawn = position[i * 4 + 2] < 0.0f;
            const bool white = color[i * 4] == 1.0f && color[i * 4 + 1] == 1.0f && color[i * 4 + 2] == 1.0f;
            covered += drawn;
            leftAtClear += drawn && white;
            litUncovered += !drawn && !white;
        }
        // The crowd fills most of the view, so a depth mismatch anywhere would show.
        EXPECT_GT(covered, targets.width * targets.height / 2);
        EXPECT_EQ(leftAtClear, 0);
        EXPECT_EQ(litUncovered, 0);
    }
}

// A lit draw whose depth lies a hair behind the stored one must be rejected, or the test above
// could not tell a sound depth reuse from one that passes everything.
TEST(DepthReuse, AFartherSurfaceIsRejected) {
    const RenderTargets& targets = sharedTargets().targets;
    const FrameView frame = testFrameView(targets);
    const glm::mat4 wall = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(-2.0f, 0.0f, -2.0f)),
                                      glm::vec3(4.0f, 4.0f, 0.5f));
    // The same box moved 0.01 units away from the camera along the view axis.
    const glm::vec3 away = glm::normalize(glm::vec3(-0.5f, 0.0f, -1.5f) - frame.cameraPosition) * 0.01f;
    const std::vector<float> color =
        geometryThenLit({wall}, {glm::translate(glm::mat4(1.0f), away) * wall}, DepthCheck::AsThePassSetsIt);
    const glm::ivec2 centre = pixelOf(frame, targets, glm::vec3(0.0f, 2.0f, -1.5f));
    EXPECT_EQ(meanAround(color, 4, 0, targets.width, centre, 3), 1.0f);
}
