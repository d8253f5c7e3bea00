// Shared set-up of the render GL tests: one set of 1280 x 720 targets (with its creation output),
// the viewer's programs, and a small scene (ground, a box resting on it, a box floating between the
// shadow light and the ground, a thin wall standing on it) drawn through the real pass set-up
// functions.
#pragma once

#include "gl_context.hpp"
#include "raw_mesh.hpp"
#include "render/frame_view.hpp"
#include "render/geometry_pass.hpp"
#include "render/light_set.hpp"
#include "render/render_targets.hpp"
#include "render/shadow_map.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

struct TestPrograms {
    ShaderProgram depth, color, phong, depthSkinned, geometrySkinned, phongSkinned, ssaoBlur, ssao, geometry;
};

inline const TestPrograms& testPrograms() {
    static const TestPrograms programs = [] {
        const std::string root = sourceDir();
        TestPrograms p;
        p.depth = loadShaderProgram(root, "simpleDepthShader.vert", "simpleDepthShader.frag");
        p.color = loadShaderProgram(root, "color.vert", "color.frag");
        p.phong = loadShaderProgram(root, "basic_lighting_Phong.vert", "basic_lighting_Phong.frag");
        p.depthSkinned = loadShaderProgram(root, "simpleDepthWendrel.vert", "simpleDepthShader.frag");
        p.geometrySkinned = loadShaderProgram(root, "skinning_phong_shader.vert", "geometryShader.frag");
        p.phongSkinned = loadShaderProgram(root, "skinning_phong_shader.vert", "skinning_phong_shader.frag");
        p.ssaoBlur = loadShaderProgram(root, "shaderSSAO.vert", "shaderSSAOBlur.frag");
        p.ssao = loadShaderProgram(root, "shaderSSAO.vert", "shaderSSAO.frag");
        p.geometry = loadShaderProgram(root, "geometryShader.vert", "geometryShader.frag");
        return p;
    }();
    return programs;
}

struct SharedTargets {
    RenderTargets targets;
    std::string creationOutput;
};

inline const SharedTargets& sharedTargets() {
    static const SharedTargets shared = [] {
        SharedTargets s;
        ::testing::internal::CaptureStdout();
        s.targets = createRenderTargets(1280, 720);
        s.creationOutput = ::testing::internal::GetCapturedStdout();
        return s;
    }();
    return shared;
}

inline FrameView testFrameView(const RenderTargets& targets) {
    FrameView frame;
    frame.cameraPosition = glm::vec3(0.0f, 7.0f, 11.0f);
    frame.projection = glm::perspective(
        glm::radians(60.0f), static_cast<float>(targets.width) / static_cast<float>(targets.height), 0.1f,
        250.0f);
    frame.view =
        glm::lookAt(frame.cameraPosition, glm::vec3(-0.5f, 0.0f, -1.5f), glm::vec3(0.0f, 1.0f, 0.0f));
    frame.viewProj = frame.projection * frame.view;
    return frame;
}

// The pixel (x from the left, y from the bottom) where a world point lands.
inline glm::ivec2 pixelOf(const FrameView& frame, const RenderTargets& targets, glm::vec3 world) {
    const glm::vec4 clip = frame.viewProj * glm::vec4(world, 1.0f);
    const glm::vec2 ndc = glm::vec2(clip) / clip.w;
    return glm::ivec2((ndc * 0.5f + 0.5f) * glm::vec2(targets.width, targets.height));
}

inline std::vector<float> readTexture(GLuint texture, GLenum format, int components, int width, int height) {
    std::vector<float> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) *
                              static_cast<size_t>(components));
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_FLOAT, pixels.data());
    return pixels;
}

// Mean of one channel over a square of (2 r + 1)^2 pixels around `center`.
inline float meanAround(const std::vector<float>& pixels, int components, int channel, int width,
                        glm::ivec2 center, int r) {
    double sum = 0.0;
    int count = 0;
    for (int y = center.y - r; y <= center.y + r; ++y)
        for (int x = center.x - r; x <= center.x + r; ++x) {
            sum += pixels[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                              static_cast<size_t>(components) +
                          static_cast<size_t>(channel)];
            ++count;
        }
    return static_cast<float>(sum / count);
}

// World points of the scene the assertions look at.
const glm::vec3 kCreasePoint{0.0f, 0.0f, 1.12f};    // ground at the foot of the resting box
const glm::vec3 kOpenGroundPoint{4.5f, 0.0f, 3.0f}; // ground far from both boxes, lit by the moon
// Where the floating box's shadow falls: the box sits 7 units from here towards the light.
const glm::vec3 kShadowedGroundPoint{6.0f, 0.0f, -6.0f};

// A wall 0.02 thick: a bias as large as that would detach its shadow from its foot.
const glm::vec3 kThinWallMin{-3.52f, 0.0f, -3.0f};
const glm::vec3 kThinWallMax{-3.5f, 1.5f, -1.0f};

// One street lamp over the ground near the resting box, and the moon.
const glm::vec3 kLampPosition{-4.0f, 4.6f, 4.0f};

inline LightSet lampAndMoon(glm::vec3 lampColor = glm::vec3(1.0f, 0.8f, 0.8f)) {
    LightSet lights;
    lights.pointColors = {lampColor};
    lights.pointPositions = {kLampPosition};
    lights.pointConstant = {0.2f};
    lights.pointLinear = {0.02f};
    lights.pointQuadratic = {0.1f};
    lights.pointCount = 1;
    lights.directionalDirections = {glm::vec3(0.3f, -0.5f, -1.0f)};
    lights.directionalColors = {glm::vec3(0.8f, 0.6f, 0.6f)};
    lights.directionalCount = 1;
    return lights;
}

struct TestScene {
    RawMesh ground;
    RawMesh restingBox;
    RawMesh floatingBox;
    RawMesh thinWall;

    void draw(const ShaderProgram& program, const char* matrixName) const {
        program.setMat4(matrixName, glm::mat4(1.0f));
        drawRawMesh(ground);
        drawRawMesh(restingBox);
        drawRawMesh(floatingBox);
        drawRawMesh(thinWall);
    }
};

inline const TestScene& testScene() {
    static const TestScene scene = [] {
        TestScene s;
        RawGeometry ground;
        addPlane(ground, glm::vec3(0.0f), 40.0f);
        s.ground = uploadRawMesh(ground);
        RawGeometry resting;
        addBox(resting, glm::vec3(-1.0f, 0.0f, -1.0f), glm::vec3(1.0f, 2.0f, 1.0f));
        s.restingBox = uploadRawMesh(resting);
        // Centred 7 units from kShadowedGroundPoint along the direction to the shadow light.
        const glm::vec3 center = kShadowedGroundPoint + glm::normalize(kShadowLightPosition) * 7.0f;
        RawGeometry floating;
        addBox(floating, center - glm::vec3(1.2f, 0.3f, 1.2f), center + glm::vec3(1.2f, 0.3f, 1.2f));
        s.floatingBox = uploadRawMesh(floating);
        RawGeometry wall;
        addBox(wall, kThinWallMin, kThinWallMax);
        s.thinWall = uploadRawMesh(wall);
        return s;
    }();
    return scene;
}

// The shadow pass and the geometry-buffer pass over the test scene, through the viewer's set-up.
inline void renderShadowAndGeometry(const RenderTargets& targets, const FrameView& frame) {
    const TestPrograms& programs = testPrograms();
    const glm::mat4 lightSpace = computeLightSpaceMatrix();
    beginShadowPass(programs.depth, targets.shadow, lightSpace);
    testScene().draw(programs.depth, "model");
    beginGeometryPass(programs.geometry, targets, lightSpace, frame);
    testScene().draw(programs.geometry, "model");
    keepStaticDepth(targets);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
