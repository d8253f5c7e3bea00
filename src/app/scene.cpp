// Scene assembly: the programs in their fixed order, then the lights and every model matrix.
#include "app/scene.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <initializer_list>
#include <string>

namespace {

const std::string shaderFolder = "../assets/shaders/";

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Reads the files in the order given, then builds the program shape their suffixes call for: .vert
// and .frag, plus .gm for a geometry stage, or .comp alone.
ShaderProgram buildFromFiles(std::initializer_list<const char*> filesInReadOrder) {
    std::string vertex, fragment, geometry, compute;
    bool hasGeometry = false;
    bool isCompute = false;
    for (const char* file : filesInReadOrder) {
        const std::string name = file;
        const std::string text = readShaderSource(shaderFolder + name);
        if (endsWith(name, ".vert")) {
            vertex = text;
        } else if (endsWith(name, ".frag")) {
            fragment = text;
        } else if (endsWith(name, ".gm")) {
            geometry = text;
            hasGeometry = true;
        } else {
            compute = text;
            isCompute = true;
        }
    }
    if (isCompute)
        return buildComputeProgram(compute);
    if (hasGeometry)
        return buildProgram(vertex, fragment, geometry);
    return buildProgram(vertex, fragment);
}

const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);
const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);

glm::mat4 translate(const glm::mat4& m, float x, float y, float z) {
    return glm::translate(m, glm::vec3(x, y, z));
}
glm::mat4 rotate(const glm::mat4& m, float degrees, const glm::vec3& axis) {
    return glm::rotate(m, glm::radians(degrees), axis);
}
glm::mat4 scale(const glm::mat4& m, float s) {
    return glm::scale(m, glm::vec3(s));
}
glm::mat4 scale(const glm::mat4& m, float x, float y, float z) {
    return glm::scale(m, glm::vec3(x, y, z));
}

// T(t) * R(degrees, Y) * S(s): how the cars and trees stand.
glm::mat4 placedOnGround(float x, float y, float z, float degrees, float s) {
    return scale(rotate(translate(glm::mat4(1.0f), x, y, z), degrees, yAxis), s);
}

} // namespace

SceneMatrices composeSceneMatrices() {
    const glm::mat4 identity(1.0f);
    SceneMatrices m;
    m.building = scale(translate(identity, 0.0f, 0.0f, 0.0f), 1.8f);
    m.background = scale(translate(identity, -5.0f, 110.0f, 0.0f), 100.0f);
    m.carA = placedOnGround(-20.0f, -1.1f, 8.0f, -100.0f, 1.5f);
    m.carB = placedOnGround(-10.0f, -1.5f, -30.0f, 10.0f, 1.5f);
    m.carC = placedOnGround(-40.0f, -4.0f, 6.0f, 80.0f, 1.5f);
    // The tree models alternate: DeadTree1 is modelled at a larger scale than DeadTree21.
    m.trees[0] = placedOnGround(-6.0f, 1.5f, -19.0f, -50.0f, 0.015f);
    m.trees[1] = placedOnGround(-10.0f, -0.5f, 15.0f, -50.0f, 0.01f);
    m.trees[2] = placedOnGround(-40.0f, -3.5f, -5.0f, -40.0f, 0.015f);
    m.trees[3] = placedOnGround(20.0f, -2.5f, 25.0f, -40.0f, 0.01f);
    m.trees[4] = placedOnGround(-30.0f, -4.5f, 20.0f, -60.0f, 0.015f);
    m.trees[5] = placedOnGround(-10.0f, -0.5f, -35.0f, -60.0f, 0.01f);
    // The 180-degree turn acts before the uneven scale, so the terrain's x and z run backwards.
    m.terrain = rotate(scale(translate(identity, -10.0f, -4.0f, 0.0f), 5.0f, 8.0f, 5.0f), 180.0f, yAxis);
    // The window leans back 20 degrees about its own x axis before it is scaled and turned into place.
    m.window =
        rotate(scale(rotate(translate(identity, -18.0f, -1.45f, 17.3f), 40.0f, yAxis), 1.5f), 20.0f, xAxis);
    m.emitters[0] = translate(identity, -22.0f, 0.0f, 7.7f);
    m.emitters[1] = translate(identity, -10.3f, -1.5f, -30.3f);
    m.emitters[2] = translate(identity, -12.0f, 18.0f, -3.3f);
    m.emitters[3] = translate(identity, 2.0f, 24.7f, -2.3f);
    return m;
}

SceneModels loadSceneModels() {
    // Only the character is posed on the CPU; the rest keep just what drawing them needs, which takes
    // the scene's vertex data out of memory twice over (about a sixth of the viewer's footprint).
    const auto load = [](const char* path) {
        auto model = std::make_unique<Model>(path);
        releaseImport(*model);
        return model;
    };
    const char* trees[] = {"models/DeadTree1.obj", "models/DeadTree21.obj"};
    SceneModels models;
    models.building = load("models/Post_Apocalyptic_Building.obj");
    models.background = load("models/background.obj");
    models.character = std::make_unique<Model>("animations/WendrelAnimation.fbx");
    models.carA = load("models/car.obj");
    models.carB = load("models/car.obj");
    models.carC = load("models/car.obj");
    for (size_t i = 0; i < models.trees.size(); ++i)
        models.trees[i] = load(trees[i % 2]);
    models.window = load("models/window.obj");
    models.terrain = load("models/big_Terrain.obj");
    models.mirror = load("models/mirror.obj");
    return models;
}

std::vector<ParticleSystem> createEmitters(const ShaderProgram& computeProgram,
                                           const ShaderProgram& renderProgram) {
    // Burning wrecks A and B on the street, the burning top floor C and the chimney fire D, all with
    // plain grey smoke (colour 0, not fire).
    struct EmitterValues {
        int32_t maxCount;
        int32_t spawnRate;
        glm::vec3 direction;
        float ttlSpawn;
        glm::vec3 windForce;
        float randX, randY, randZ, randDirection, sizeMax, sizeDerivative;
        double spawnsPerSecond;
    };
    const EmitterValues table[] = {
        {10000,
         12,
         {0.0f, 0.15f, 0.0f},
         20.0f,
         {0.01f, 0.0f, -0.01f},
         0.7f,
         0.1f,
         0.7f,
         0.13f,
         1.0f,
         10.0f,
         10.0},
        {20000,
         18,
         {0.0f, 0.15f, 0.0f},
         16.0f,
         {0.01f, 0.0f, -0.007f},
         0.7f,
         0.1f,
         0.7f,
         0.13f,
         1.0f,
         10.0f,
         15.0},
        {50000,
         15,
         {0.0f, 0.3f, 0.0f},
         20.0f,
         {0.01f, 0.0f, -0.03f},
         3.0f,
         0.2f,
         3.0f,
         0.2f,
         2.0f,
         5.0f,
         25.0},
        {50000,
         20,
         {0.0f, 0.33f, 0.0f},
         30.0f,
         {0.01f, 0.0f, -0.035f},
         3.0f,
         0.2f,
         2.0f,
         0.2f,
         2.0f,
         5.0f,
         30.0},
    };
    std::vector<ParticleSystem> emitters;
    for (const EmitterValues& e : table)
        emitters.emplace_back(computeProgram.id, renderProgram.id, e.maxCount, e.spawnRate, e.direction,
                              e.ttlSpawn, e.windForce, e.randX, e.randY, e.randZ, e.randDirection, e.sizeMax,
                              e.sizeDerivative, glm::vec3(0.0f), e.spawnsPerSecond);
    return emitters;
}

Scene buildScene() {
    Scene scene;
    scene.depthProgram = buildFromFiles({"simpleDepthShader.frag", "simpleDepthShader.vert"});
    scene.colorProgram = buildFromFiles({"color.frag", "color.vert"});
    scene.phongProgram = buildFromFiles({"basic_lighting_Phong.frag", "basic_lighting_Phong.vert"});
    scene.depthSkinnedProgram = buildFromFiles({"simpleDepthShader.frag", "simpleDepthWendrel.vert"});
    scene.geometrySkinnedProgram = buildFromFiles({"geometryShader.frag", "skinning_phong_shader.vert"});
    scene.phongSkinnedProgram = buildFromFiles({"skinning_phong_shader.frag", "skinning_phong_shader.vert"});
    scene.particleRenderProgram = buildFromFiles(
        {"particleFragmentShader.frag", "particleVertexShader.vert", "particlegeometrieShader.gm"});
    scene.particleComputeProgram = buildFromFiles({"particlecomputeShader.comp"});
    scene.ssaoBlurProgram = buildFromFiles({"shaderSSAO.vert", "shaderSSAOBlur.frag"});
    scene.ssaoProgram = buildFromFiles({"shaderSSAO.vert", "shaderSSAO.frag"});
    scene.geometryProgram = buildFromFiles({"geometryShader.vert", "geometryShader.frag"});
    // Only beside a working geometryProgram, so that a broken shader file is reported once.
    if (scene.geometryProgram.id != 0)
        scene.geometryUnshadowedProgram = buildProgram(
            readShaderSource(shaderFolder + "geometryShader.vert"),
            withDefine(readShaderSource(shaderFolder + "geometryShader.frag"), "SHADOW_TERM_UNREAD"));

    scene.lights = SceneLights{};
    scene.matrices = composeSceneMatrices();
    scene.models = loadSceneModels();
    scene.emitters = createEmitters(scene.particleComputeProgram, scene.particleRenderProgram);
    return scene;
}
