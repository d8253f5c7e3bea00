// Buffers, compute step and point-sprite draw of one GPU particle emitter.
#include "particles/particle_system.hpp"

#include "particles/particle_step.hpp"
#include "particles/sprite_array.hpp"
#include "render/shader_program.hpp"

#include <iostream>

namespace {

// Every particle array holds one vec4 per particle.
constexpr GLsizeiptr particleStride = 4 * sizeof(float);

// The compute program's uniforms, in the order the step sets them.
void setComputeUniforms(const ParticleSystem& emitter, uint32_t spawnCount, double deltaSeconds) {
    const ShaderProgram program{emitter.computeProgram};
    program.use();
    program.setInt("LastCount", emitter.liveCount);
    program.setInt("spawnCount", static_cast<int>(spawnCount));
    program.setInt("MaximumCount", emitter.maxCount);
    program.setFloat("DeltaT", static_cast<float>(deltaSeconds));
    program.setFloat("TTL_Spawn", emitter.ttlSpawn);
    program.setInt("spawnRate", emitter.spawnRate);
    program.setVec3("direction", emitter.direction);
    program.setVec3("windForce", emitter.windForce);
    program.setFloat("randX", emitter.randX);
    program.setFloat("randY", emitter.randY);
    program.setFloat("randZ", emitter.randZ);
    program.setFloat("randDirection", emitter.randDirection);
}

} // namespace

ParticleSystem::ParticleSystem(GLuint computeProgram, GLuint renderProgram, int32_t maxCount,
                               int32_t spawnRate, glm::vec3 direction, float ttlSpawn, glm::vec3 windForce,
                               float randX, float randY, float randZ, float randDirection, float sizeMax,
                               float sizeDerivative, glm::vec3 col, double spawnsPerSecond)
    : computeProgram(computeProgram), renderProgram(renderProgram), maxCount(maxCount), spawnRate(spawnRate),
      ttlSpawn(ttlSpawn), randX(randX), randY(randY), randZ(randZ), randDirection(randDirection),
      sizeMax(sizeMax), sizeDerivative(sizeDerivative), spawnsPerSecond(spawnsPerSecond),
      direction(direction), windForce(windForce), col(col) {
    createBuffers();
    loadSprites();
}

void ParticleSystem::createBuffers() {
    const GLsizeiptr bytes = static_cast<GLsizeiptr>(maxCount) * particleStride;
    for (int pair = 0; pair < 2; ++pair) {
        glGenBuffers(1, &positionBuffers[pair]);
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, positionBuffers[pair]);
        glBufferData(GL_SHADER_STORAGE_BUFFER, bytes, nullptr, GL_DYNAMIC_DRAW);
        glGenBuffers(1, &velocityBuffers[pair]);
        glBindBuffer(GL_SHADER_STORAGE_BUFFER, velocityBuffers[pair]);
        glBufferData(GL_SHADER_STORAGE_BUFFER, bytes, nullptr, GL_DYNAMIC_DRAW);

        glGenVertexArrays(1, &vertexArrays[pair]);
        glBindVertexArray(vertexArrays[pair]);
        glBindBuffer(GL_ARRAY_BUFFER, positionBuffers[pair]);
        glEnableVertexAttribArray(positionAttribute);
        glVertexAttribPointer(positionAttribute, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    }

    const glm::vec4 seedPositions[2] = {glm::vec4(0.0f, 0.0f, 0.0f, ttlSpawn),
                                        glm::vec4(0.0f, 0.0f, 0.0f, ttlSpawn)};
    const glm::vec4 seedVelocities[2] = {glm::vec4(0.0f), glm::vec4(0.0f)};
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, positionBuffers[0]);
    glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, sizeof(seedPositions), seedPositions);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, velocityBuffers[0]);
    glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, sizeof(seedVelocities), seedVelocities);
    liveCount = 2;
    std::cout << "particle count:  " << liveCount << std::endl;

    const GLuint zero = 0;
    glGenBuffers(1, &counterBuffer);
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, counterBuffer);
    glBufferData(GL_ATOMIC_COUNTER_BUFFER, sizeof(GLuint), nullptr, GL_DYNAMIC_DRAW);
    glBufferSubData(GL_ATOMIC_COUNTER_BUFFER, 0, sizeof(GLuint), &zero);
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, 0);
}

void ParticleSystem::loadSprites() {
    spriteTexture = loadSpriteArray(spritePrefix, sizeProbeNumber, layerCount);
}

void ParticleSystem::update(double deltaSeconds) {
    runComputeStep(deltaSeconds);
    collectLiveCount();
}

void ParticleSystem::runComputeStep(double deltaSeconds) {
    const uint32_t spawnCount = takeSpawnEvents(spawnAccumulator, deltaSeconds, spawnsPerSecond);

    // A program that failed to build (id 0) would only raise GL errors every frame; without it the
    // counter stays 0 and the emitter simply shows nothing.
    const bool runnable = computeProgram != 0;
    if (runnable)
        setComputeUniforms(*this, spawnCount, deltaSeconds);

    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 0, positionBuffers[current]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 1, velocityBuffers[current]);
    current = current == 0 ? 1 : 0;
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 2, positionBuffers[current]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, 3, velocityBuffers[current]);
    glBindBufferBase(GL_ATOMIC_COUNTER_BUFFER, 4, counterBuffer);

    if (runnable)
        glDispatchCompute(particleWorkGroups(liveCount, spawnRate, spawnCount), 1, 1);
    glMemoryBarrier(GL_ATOMIC_COUNTER_BARRIER_BIT);
}

void ParticleSystem::collectLiveCount() {
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, counterBuffer);
    auto* counter = static_cast<GLuint*>(
        glMapBufferRange(GL_ATOMIC_COUNTER_BUFFER, 0, sizeof(GLuint), GL_MAP_READ_BIT | GL_MAP_WRITE_BIT));
    bool cleared = false;
    if (counter) {
        liveCount = clampLiveCount(*counter, maxCount);
        *counter = 0;
        cleared = glUnmapBuffer(GL_ATOMIC_COUNTER_BUFFER) == GL_TRUE;
    } else {
        // Without the count nothing in the output pair can be trusted, so this frame draws none.
        liveCount = 0;
    }
    if (!cleared) {
        const GLuint zero = 0;
        glBufferSubData(GL_ATOMIC_COUNTER_BUFFER, 0, sizeof(GLuint), &zero);
    }
    glMemoryBarrier(GL_VERTEX_ATTRIB_ARRAY_BARRIER_BIT);
}

void ParticleSystem::draw(const glm::mat4& modelView, const glm::mat4& projection) const {
    // Depth test and culling stay as the scene left them: smoke hides behind geometry but, without
    // depth writes, never behind other smoke.
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    const ShaderProgram program{renderProgram};
    program.use();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D_ARRAY, spriteTexture);
    // Without a program (one that failed to build) a draw is only a GL error, so it is left out.
    if (program.id != 0) {
        program.setMat4("ModelViewMatrix", modelView);
        program.setMat4("ProjectionMatrix", projection);
        program.setFloat("sizeMax", sizeMax);
        program.setFloat("sizeDerivative", sizeDerivative);
        program.setInt("fire", fire ? 1 : 0);
        program.setVec3("col", col);
        glBindVertexArray(vertexArrays[current]);
        glDrawArrays(GL_POINTS, 0, liveCount);
    }

    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(0);
    glUseProgram(0);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
}
