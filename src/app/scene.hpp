// The fixed scene: its GPU programs, its lights and where every object stands. Assembled once at
// start-up and kept for the whole run; the frame loop animates only the light colours, the
// character's placements and the particles.
#pragma once

#include "model/model.hpp"
#include "particles/particle_system.hpp"
#include "render/shader_program.hpp"

#include <glm/glm.hpp>

#include <array>
#include <memory>
#include <vector>

struct SceneLights {
    glm::vec3 directionalDirection{0.3f, -0.5f, -1.0f};
    glm::vec3 directionalColor{0.8f, 0.6f, 0.6f};
    std::array<glm::vec3, 3> pointPositions{glm::vec3(-27.7966f, 4.64645f, -24.4273f),
                                            glm::vec3(-16.298f, 4.6957f, -14.6568f),
                                            glm::vec3(-26.7636f, 4.18875f, 15.5621f)};
    // The colours change every frame (light flicker); these are their values before the first one.
    std::array<glm::vec3, 3> pointStartColors{glm::vec3(1.0f, 0.8f, 0.8f), glm::vec3(1.0f, 0.8f, 0.8f),
                                              glm::vec3(1.0f, 0.8f, 0.8f)};
    std::array<float, 3> pointConstant{0.2f, 0.2f, 0.2f};
    std::array<float, 3> pointLinear{0.02f, 0.02f, 0.02f};
    std::array<float, 3> pointQuadratic{0.1f, 0.1f, 0.1f};
    // The shadow light looks at the origin from here; the geometry pass also takes it as "lightPos".
    glm::vec3 shadowLightPosition{20.0f, 30.0f, 60.0f};
};

// Model matrices. Static objects are listed in the order the shadow and geometry passes draw them.
struct SceneMatrices {
    glm::mat4 building{1.0f};
    glm::mat4 background{1.0f};
    glm::mat4 carA{1.0f};
    glm::mat4 carB{1.0f};
    glm::mat4 carC{1.0f};
    std::array<glm::mat4, 6> trees{};
    glm::mat4 terrain{1.0f};
    glm::mat4 window{1.0f};
    // The four smoke emitters A, B, C, D, each placed by a pure translation.
    std::array<glm::mat4, 4> emitters{};
};

// One Model per object, also where files repeat (three cars, three of each tree): every object is
// imported on its own. A model that failed to import is still there, with no meshes.
struct SceneModels {
    std::unique_ptr<Model> building;
    std::unique_ptr<Model> background;
    std::unique_ptr<Model> character;
    std::unique_ptr<Model> carA;
    std::unique_ptr<Model> carB;
    std::unique_ptr<Model> carC;
    std::array<std::unique_ptr<Model>, 6> trees;
    std::unique_ptr<Model> window;
    std::unique_ptr<Model> terrain;
    // Loaded like the others but never drawn.
    std::unique_ptr<Model> mirror;
};

struct Scene {
    ShaderProgram depthProgram;
    ShaderProgram colorProgram;
    ShaderProgram phongProgram;
    ShaderProgram depthSkinnedProgram;
    ShaderProgram geometrySkinnedProgram;
    ShaderProgram phongSkinnedProgram;
    ShaderProgram particleRenderProgram;
    ShaderProgram particleComputeProgram;
    ShaderProgram ssaoBlurProgram;
    ShaderProgram ssaoProgram;
    ShaderProgram geometryProgram;
    // geometryProgram built with SHADOW_TERM_UNREAD, for the objects whose shadow term the lit pass
    // never reads; id 0 when geometryProgram failed to build.
    ShaderProgram geometryUnshadowedProgram;

    SceneLights lights;
    SceneMatrices matrices;
    SceneModels models;
    // The smoke emitters A, B, C, D, placed by matrices.emitters.
    std::vector<ParticleSystem> emitters;
};

// Loads the fifteen models in their fixed load order, which fixes the order of the load reports.
SceneModels loadSceneModels();

// Constructs the four emitters in the order A, B, C, D, all sharing the two particle programs.
std::vector<ParticleSystem> createEmitters(const ShaderProgram& computeProgram,
                                           const ShaderProgram& renderProgram);

// Every model matrix of the scene, composed from its translation, rotations and scale.
SceneMatrices composeSceneMatrices();

// Builds the eleven programs from "../assets/shaders/", each file read in the order that fixes the
// order of any "Could not read file" messages, then the lights and the matrices. Needs a current GL
// context; a missing or broken shader leaves its program at id 0 and assembly goes on.
Scene buildScene();
