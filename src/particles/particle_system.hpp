// One smoke emitter whose particles live only on the GPU: a compute step moves them between two
// ping-pong pairs of storage buffers, an atomic counter tells the CPU how many are alive, and a point
// draw expands them into sprites from an array texture.
#pragma once

#include <glad/gl.h>
#include <glm/glm.hpp>

#include <array>
#include <cstdint>

struct ParticleSystem {
    GLuint computeProgram = 0;
    GLuint renderProgram = 0;
    const char* spritePrefix = "textures/smoke";
    int32_t maxCount = 0;
    int32_t spawnRate = 0;
    int32_t sizeProbeNumber = 0;
    int32_t layerCount = 5;
    float ttlSpawn = 0.0f;
    float randX = 0.0f;
    float randY = 0.0f;
    float randZ = 0.0f;
    float randDirection = 0.0f;
    float sizeMax = 0.0f;
    float sizeDerivative = 0.0f;
    double spawnsPerSecond = 0.0;
    glm::vec3 direction{0.0f};
    glm::vec3 windForce{0.0f};
    glm::vec3 col{0.0f};
    std::array<GLuint, 2> positionBuffers{};
    std::array<GLuint, 2> velocityBuffers{};
    GLuint counterBuffer = 0;
    int32_t liveCount = 0;
    uint8_t current = 0;
    bool fire = false;
    double spawnAccumulator = 0.0;
    GLuint spriteTexture = 0;
    std::array<GLuint, 2> vertexArrays{};
    uint32_t positionAttribute = 0;

    // Creates the buffers (printing the seed count) and loads the sprites (printing their names).
    // Needs a current OpenGL 4.3 context.
    ParticleSystem(GLuint computeProgram, GLuint renderProgram, int32_t maxCount, int32_t spawnRate,
                   glm::vec3 direction, float ttlSpawn, glm::vec3 windForce, float randX, float randY,
                   float randZ, float randDirection, float sizeMax, float sizeDerivative, glm::vec3 col,
                   double spawnsPerSecond);

    void createBuffers();
    void loadSprites();

    // One simulation step for a frame of deltaSeconds: runComputeStep then collectLiveCount.
    void update(double deltaSeconds);
    // Spawn timing, uniforms, buffer bindings and the dispatch; flips `current` to the output pair.
    void runComputeStep(double deltaSeconds);
    // Reads the counter into liveCount (bounded by maxCount) and clears it. Waits for the dispatch.
    void collectLiveCount();

    // Blends the live particles of the pair written last over the bound framebuffer, depth-tested
    // but without depth writes. Leaves blending off, depth writes on, program 0 and vertex array 0.
    void draw(const glm::mat4& modelView, const glm::mat4& projection) const;
};
