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

struct CrowdResult {
    int covered = 0;      // pixels the geometry pass drew
    int leftAtClear = 0;  // of those, pixels the lit pass left white
    int litUncovered = 0; // pixels lit that the geometry pass did not cover
};

CrowdResult renderCrowd(DepthCheck check) {
    const RenderTargets& targets = sharedTargets().targets;
    const TestPrograms& programs = testPrograms();
    const FrameView frame = testFrameView(targets);
    const std::vector<glm::mat4> placements = crowdPlacements(400);

    beginGeometryPass(programs.geometry, targets, computeLightSpaceMatrix(), frame);
    for (const glm::mat4& placement : placements) {
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
    for (const glm::mat4& placement : placements) {
        programs.phong.setMat4("modelMatrix", placement);
        drawRawMesh(unitBox());
    }
    endLitPass();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const int w = targets.width;
    const int h = targets.height;
    // The geometry pass's view-space position: z < 0 where a surface was drawn, the white clear elsewhere.
    const std::vector<float> position = readTexture(targets.gPositionTexture, GL_RGBA, 4, w, h);
    const std::vector<float> color = readTexture(targets.sceneColor, GL_RGBA, 4, w, h);
    CrowdResult result;
    for (size_t i = 0; i < static_cast<size_t>(w) * static_cast<size_t>(h); ++i) {
        const bool covered = position[i * 4 + 2] < 0.0f;
        const bool white = color[i * 4] == 1.0f && color[i * 4 + 1] == 1.0f && color[i * 4 + 2] == 1.0f;
        result.covered += covered ? 1 : 0;
        result.leftAtClear += covered && white ? 1 : 0;
        result.litUncovered += !covered && !white ? 1 : 0;
    }
    return result;
}

} // namespace

TEST(DepthReuse, EveryCoveredPixelIsLitOnACrowdedView) {
    for (DepthCheck check : {DepthCheck::AsThePassSetsIt, DepthCheck::ExactlyEqual}) {
        SCOPED_TRACE(check == DepthCheck::ExactlyEqual ? "GL_EQUAL" : "the pass's own depth test");
        const CrowdResult result = renderCrowd(check);
        // The crowd fills most of the view, so a depth mismatch anywhere would show.
        EXPECT_GT(result.covered, sharedTargets().targets.width * sharedTargets().targets.height / 2);
        EXPECT_EQ(result.leftAtClear, 0);
        EXPECT_EQ(result.litUncovered, 0);
    }
}

// A lit draw whose depth lies a hair behind the stored one must be rejected, or the tests above
// could not tell a sound depth reuse from one that passes everything.
TEST(DepthReuse, AFartherSurfaceIsRejected) {
    const RenderTargets& targets = sharedTargets().targets;
    const TestPrograms& programs = testPrograms();
    const FrameView frame = testFrameView(targets);
    const glm::mat4 wall = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(-2.0f, 0.0f, -2.0f)),
                                      glm::vec3(4.0f, 4.0f, 0.5f));
    beginGeometryPass(programs.geometry, targets, computeLightSpaceMatrix(), frame);
    programs.geometry.setMat4("model", wall);
    drawRawMesh(unitBox());
    keepStaticDepth(targets);

    beginLitPass(targets);
    applyLightSet(programs.phong, frame.cameraPosition, lampAndMoon(), frame.viewProj, MaterialParams{}, 2.0f,
                  AppState{});
    bindLitPassInputs(programs.phong, targets);
    bindGreyMaterial();
    // The same box moved 0.01 units away from the camera along the view axis.
    const glm::vec3 away = glm::normalize(glm::vec3(-0.5f, 0.0f, -1.5f) - frame.cameraPosition) * 0.01f;
    programs.phong.setMat4("modelMatrix", glm::translate(glm::mat4(1.0f), away) * wall);
    drawRawMesh(unitBox());
    endLitPass();

    const std::vector<float> color =
        readTexture(targets.sceneColor, GL_RGBA, 4, targets.width, targets.height);
    const glm::ivec2 centre = pixelOf(frame, targets, glm::vec3(0.0f, 2.0f, -1.5f));
    EXPECT_EQ(meanAround(color, 4, 0, targets.width, centre, 3), 1.0f);
}
