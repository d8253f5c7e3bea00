// The shadow map kept between frames: after the static objects are drawn once and a moving caster
// is repaired frame by frame, the map must hold exactly what a full redraw gives, and switching the
// pass off and on redraws it.
#include "model/model.hpp"
#include "render/scene_passes.hpp"
#include "render_test_scene.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <gtest/gtest.h>

namespace {

Mesh meshOf(const RawGeometry& geometry) {
    return Mesh(geometry.vertices, geometry.indices, {}, {});
}

// Ground, a wall and a box, and a box-shaped caster walking over them.
struct CacheScene {
    Model statics;
    Model caster;
    std::vector<SceneObject> objects;
    CacheScene() {
        RawGeometry ground, wall, box, body;
        addPlane(ground, glm::vec3(0.0f), 20.0f);
        addBox(wall, glm::vec3(-3.0f, 0.0f, -4.0f), glm::vec3(3.0f, 3.0f, -3.6f));
        addBox(box, glm::vec3(4.0f, 0.0f, 1.0f), glm::vec3(5.0f, 1.0f, 2.0f));
        addBox(body, glm::vec3(-0.3f, 0.0f, -0.3f), glm::vec3(0.3f, 1.8f, 0.3f));
        statics.meshes = {meshOf(ground), meshOf(wall), meshOf(box)};
        caster.meshes = {meshOf(body)};
        objects = {{&statics, glm::mat4(1.0f)}};
    }
};

glm::mat4 casterAt(glm::vec3 place) {
    return glm::translate(glm::mat4(1.0f), place);
}

// Draws the caster with the depth program (current after the shadow pass) and marks its texels.
void drawCaster(const CacheScene& scene, ShadowTarget& shadow, const glm::mat4& light, glm::vec3 place) {
    testPrograms().depth.setMat4("model", casterAt(place));
    scene.caster.draw();
    const Mesh& body = scene.caster.meshes[0];
    markShadowDirty(shadow, light, body.boundsMin + place, body.boundsMax + place);
}

std::vector<float> readMap(const ShadowTarget& shadow, const TexelRect& r) {
    std::vector<float> depth(static_cast<size_t>((r.x1 - r.x0) * (r.y1 - r.y0)));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, shadow.depthMapFBO);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return depth;
}

} // namespace

TEST(ShadowCache, RepairedMapEqualsAFullRedrawAsTheCasterMoves) {
    CacheScene scene;
    ShadowTarget shadow = createShadowTarget();
    const glm::mat4 light = computeLightSpaceMatrix();
    const ShaderProgram& depth = testPrograms().depth;
    const glm::vec3 places[] = {{-1.0f, 0.0f, 0.0f}, {1.5f, 0.0f, 0.5f}, {3.5f, 0.0f, 1.5f}};
    // Everything the caster's shadows and their repairs can touch, with room around it.
    TexelRect region;
    for (glm::vec3 place : places)
        region = uniteRects(region, texelRectOfBox(scene.caster.meshes[0].boundsMin + place,
                                                   scene.caster.meshes[0].boundsMax + place, light,
                                                   kShadowMapSize, 40));

    // Frame by frame, the caster walks through the three places and then leaves.
    std::vector<std::vector<float>> kept;
    for (int frame = 0; frame <= 3; ++frame) {
        runShadowPass(depth, shadow, light, scene.objects);
        if (frame < 3)
            drawCaster(scene, shadow, light, places[frame]);
        kept.push_back(readMap(shadow, region));
    }
    EXPECT_TRUE(shadow.staticDrawn);
    // What a full redraw of each frame gives.
    for (int frame = 0; frame <= 3; ++frame) {
        SCOPED_TRACE(frame);
        beginShadowPass(depth, shadow, light);
        drawSceneObjects(depth, scene.objects, "model");
        if (frame < 3) {
            depth.setMat4("model", casterAt(places[frame]));
            scene.caster.draw();
        }
        const std::vector<float> full = readMap(shadow, region);
        ASSERT_EQ(full.size(), kept[frame].size());
        size_t differing = 0;
        for (size_t i = 0; i < full.size(); ++i)
            differing += full[i] != kept[frame][i] ? 1 : 0;
        EXPECT_EQ(differing, 0u);
        // The caster really is in the map, so the comparison would see a stale one.
        if (frame > 0) {
            EXPECT_NE(kept[frame], kept[frame - 1]);
        }
    }

    // The panel switches the shadow pass off and on at run time: the kept map must follow both ways.
    const TexelRect wallRegion =
        texelRectOfBox(glm::vec3(-3.0f, 0.0f, -4.0f), glm::vec3(3.0f, 3.0f, -3.6f), light, kShadowMapSize, 4);
    const std::vector<SceneObject> nothing;
    auto nearest = [&] {
        const std::vector<float> map = readMap(shadow, wallRegion);
        return *std::min_element(map.begin(), map.end());
    };
    runShadowPass(depth, shadow, light, scene.objects);
    const float withWall = nearest();
    EXPECT_LT(withWall, 1.0f);
    runShadowPass(depth, shadow, light, nothing);
    EXPECT_EQ(nearest(), 1.0f);
    runShadowPass(depth, shadow, light, scene.objects);
    EXPECT_EQ(nearest(), withWall);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &shadow.depthMapFBO);
    glDeleteTextures(1, &shadow.depthMap);
}
