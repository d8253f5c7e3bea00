// Start-up of everything the passes share: targets, kernel, noise, light matrix and draw lists.
#include "app/frame_resources.hpp"

#include "render/occlusion.hpp"
#include "render/shadow_map.hpp"

LightSet sceneLightSet(const SceneLights& lights) {
    LightSet set;
    set.pointColors.assign(lights.pointStartColors.begin(), lights.pointStartColors.end());
    set.pointPositions.assign(lights.pointPositions.begin(), lights.pointPositions.end());
    set.pointConstant.assign(lights.pointConstant.begin(), lights.pointConstant.end());
    set.pointLinear.assign(lights.pointLinear.begin(), lights.pointLinear.end());
    set.pointQuadratic.assign(lights.pointQuadratic.begin(), lights.pointQuadratic.end());
    set.pointCount = static_cast<int>(set.pointPositions.size());
    set.directionalDirections = {lights.directionalDirection};
    set.directionalColors = {lights.directionalColor};
    set.directionalCount = 1;
    return set;
}

std::vector<SceneObject> shadowDrawOrder(const Scene& scene) {
    const SceneModels& m = scene.models;
    const SceneMatrices& at = scene.matrices;
    std::vector<SceneObject> objects = {
        {m.building.get(), at.building}, {m.background.get(), at.background},
        {m.carA.get(), at.carA},         {m.carB.get(), at.carB},
        {m.carC.get(), at.carC},
    };
    for (size_t i = 0; i < m.trees.size(); ++i)
        objects.push_back({m.trees[i].get(), at.trees[i]});
    objects.push_back({m.terrain.get(), at.terrain});
    objects.push_back({m.window.get(), at.window});
    return objects;
}

std::vector<LitGroup> litDrawGroups(const Scene& scene) {
    const SceneModels& m = scene.models;
    const SceneMatrices& at = scene.matrices;
    std::vector<SceneObject> trees;
    for (size_t i = 0; i < m.trees.size(); ++i)
        trees.push_back({m.trees[i].get(), at.trees[i]});
    const std::vector<SceneObject> cars = {
        {m.carA.get(), at.carA}, {m.carB.get(), at.carB}, {m.carC.get(), at.carC}};
    return buildLitGroups({m.building.get(), at.building}, trees, {m.terrain.get(), at.terrain},
                          {m.window.get(), at.window}, cars, {m.background.get(), at.background});
}

FrameResources createFrameResources(const Scene& scene, const Settings& settings) {
    FrameResources resources;
    resources.targets = createRenderTargets(settings.width, settings.height);
    resources.ssaoKernel = buildOcclusionKernel();
    resources.noiseTexture = createNoiseTexture(buildOcclusionNoise());
    resources.lightSpaceMatrix = computeLightSpaceMatrix();
    resources.shadowObjects = shadowDrawOrder(scene);
    resources.litGroups = litDrawGroups(scene);
    markShadowTermReaders(resources.shadowObjects, resources.litGroups);
    resources.lights = sceneLightSet(scene.lights);
    resources.characterScript = makeCharacterScript();
    resources.emitterPlacements.assign(scene.matrices.emitters.begin(), scene.matrices.emitters.end());
    return resources;
}

void setPointColors(LightSet& lights, const std::array<glm::vec3, 3>& pointColors) {
    lights.pointColors.assign(pointColors.begin(), pointColors.end());
}
