// Builds the occlusion kernel and noise, and runs the occlusion and blur passes.
#include "render/occlusion.hpp"

#include "render/unit_random.hpp"

#include <string>

std::vector<glm::vec3> buildOcclusionKernel() {
    // The first draw only advances the generator.
    drawUnitRandom();
    std::vector<glm::vec3> kernel;
    kernel.reserve(kOcclusionKernelSize);
    for (int i = 0; i < kOcclusionKernelSize; ++i) {
        // One statement per draw: the order y, x, z, length is part of the kernel's identity.
        const float y = drawUnitRandom() * 2.0f - 1.0f;
        const float x = drawUnitRandom() * 2.0f - 1.0f;
        const float z = drawUnitRandom();
        glm::vec3 sample(x, y, z);
        const float length = glm::length(sample);
        // Three zero draws would make a zero vector that cannot be normalised; point it straight up.
        sample = length > 0.0f ? sample / length : glm::vec3(0.0f, 0.0f, 1.0f);
        sample *= drawUnitRandom();
        // Divided by 64, not by the kernel size, so that the last sample stays near 0.31 of the radius.
        float scale = static_cast<float>(i) / 64.0f;
        scale = (1.0f - 0.1f) * (scale * scale) + 0.1f;
        kernel.push_back(sample * scale);
    }
    return kernel;
}

std::vector<glm::vec3> buildOcclusionNoise() {
    std::vector<glm::vec3> noise;
    noise.reserve(kOcclusionNoiseSize * kOcclusionNoiseSize);
    for (int i = 0; i < kOcclusionNoiseSize * kOcclusionNoiseSize; ++i) {
        const float y = drawUnitRandom() * 2.0f - 1.0f;
        const float x = drawUnitRandom() * 2.0f - 1.0f;
        noise.emplace_back(x, y, 0.0f);
    }
    return noise;
}

GLuint createNoiseTexture(const std::vector<glm::vec3>& ssaoNoise) {
    GLuint noiseTexture = 0;
    glGenTextures(1, &noiseTexture);
    glBindTexture(GL_TEXTURE_2D, noiseTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, kOcclusionNoiseSize, kOcclusionNoiseSize, 0, GL_RGB, GL_FLOAT,
                 ssaoNoise.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return noiseTexture;
}

// Leaves ssaoFBO bound, ssaoProgram current, quadVAO bound and the position, normal and noise
// textures on units 0, 1 and 2 (active unit 0); depth test and blending off.
void runOcclusionPass(const ShaderProgram& ssaoProgram, const RenderTargets& targets,
                      const std::vector<glm::vec3>& ssaoKernel, GLuint noiseTexture,
                      const glm::mat4& projection) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.ssaoFBO);
    glViewport(0, 0, targets.width, targets.height);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    ssaoProgram.use();
    for (size_t i = 0; i < ssaoKernel.size(); ++i)
        ssaoProgram.setVec3("samples[" + std::to_string(i) + "]", ssaoKernel[i]);
    ssaoProgram.setMat4("projection", projection);
    ssaoProgram.setInt("gPosition", 0);
    ssaoProgram.setInt("gNormal", 1);
    ssaoProgram.setInt("texNoise", 2);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, targets.gPositionTexture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, targets.gNormalTexture);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, noiseTexture);
    glActiveTexture(GL_TEXTURE0);

    glBindVertexArray(targets.quadVAO);
    glDrawArrays(GL_TRIANGLES, 0, 6);
}

// Leaves ssaoBlurFBO bound, ssaoBlurProgram current, quadVAO bound and ssaoColorBuffer on unit 0;
// depth test and blending off. The geometry pass turns depth testing back on next frame.
void runOcclusionBlurPass(const ShaderProgram& ssaoBlurProgram, const RenderTargets& targets) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.ssaoBlurFBO);
    glViewport(0, 0, targets.width, targets.height);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    ssaoBlurProgram.use();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, targets.ssaoColorBuffer);
    glBindVertexArray(targets.quadVAO);
    glDrawArrays(GL_TRIANGLES, 0, 6);
}

void clearOcclusion(const RenderTargets& targets) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.ssaoFBO);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.ssaoBlurFBO);
    glClear(GL_COLOR_BUFFER_BIT);
}
