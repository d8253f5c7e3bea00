// Helpers for the particle GL tests: the real particle programs built from assets/shaders, and a
// temporary working directory holding small sprite images under the names an emitter opens.
#pragma once

#include "gl_context.hpp"
#include "particles/particle_system.hpp"
#include "render/shader_program.hpp"

#include <stb_image_write.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

struct ParticlePrograms {
    ShaderProgram compute;
    ShaderProgram render;
};

inline ParticlePrograms buildParticlePrograms() {
    const std::string dir = std::string(sourceDir()) + "/assets/shaders/";
    ParticlePrograms programs;
    programs.render = buildProgram(readShaderSource(dir + "particleVertexShader.vert"),
                                   readShaderSource(dir + "particleFragmentShader.frag"),
                                   readShaderSource(dir + "particlegeometrieShader.gm"));
    programs.compute = buildComputeProgram(readShaderSource(dir + "particlecomputeShader.comp"));
    return programs;
}

// The sprite colour of image number n: easy to tell apart when a layer is read back.
inline std::vector<unsigned char> spritePixels(int number, int width, int height, bool softDisc) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width * height * 4));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* texel = &pixels[static_cast<size_t>((y * width + x) * 4)];
            const float dx = (x + 0.5f) / width * 2.0f - 1.0f;
            const float dy = (y + 0.5f) / height * 2.0f - 1.0f;
            const float falloff = std::max(0.0f, 1.0f - (dx * dx + dy * dy));
            texel[0] = static_cast<unsigned char>(softDisc ? 230 : 40 * number);
            texel[1] = static_cast<unsigned char>(softDisc ? 230 : 200 - 30 * number);
            texel[2] = static_cast<unsigned char>(softDisc ? 230 : y);
            texel[3] = static_cast<unsigned char>(softDisc ? 255.0f * falloff : 255.0f);
        }
    }
    return pixels;
}

// Makes a fresh directory with a "textures" folder, makes it the working directory, and returns to
// the previous one (removing the directory) when it goes out of scope.
class SpriteDirectory {
  public:
    SpriteDirectory() : previous(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "duskvale-sprites-XXXXXX").string();
        root = mkdtemp(pattern.data());
        std::filesystem::create_directories(std::filesystem::path(root) / "textures");
        std::filesystem::current_path(root);
    }
    ~SpriteDirectory() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(root);
    }
    SpriteDirectory(const SpriteDirectory&) = delete;
    SpriteDirectory& operator=(const SpriteDirectory&) = delete;

    void writeSprite(int number, int width, int height, bool softDisc = false) const {
        const std::vector<unsigned char> pixels = spritePixels(number, width, height, softDisc);
        stbi_write_png(path(number).c_str(), width, height, 4, pixels.data(), width * 4);
    }
    void writeAll(int width, int height, bool softDisc = false) const {
        for (int number = 0; number <= 5; ++number)
            writeSprite(number, width, height, softDisc);
    }
    void writeGarbage(int number) const {
        std::FILE* file = std::fopen(path(number).c_str(), "wb");
        std::fputs("this is not a png", file);
        std::fclose(file);
    }
    std::string path(int number) const { return root + "/textures/smoke" + std::to_string(number) + ".png"; }

  private:
    std::filesystem::path previous;
    std::string root;
};

inline void clearGlErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

// The emitter's spreads and motion of scene emitter A, with test-sized capacity, rate and life.
inline ParticleSystem makeEmitter(const ParticlePrograms& programs, int maxCount, int spawnRate,
                                  float ttlSpawn, double spawnsPerSecond) {
    return ParticleSystem(programs.compute.id, programs.render.id, maxCount, spawnRate,
                          glm::vec3(0.0f, 0.15f, 0.0f), ttlSpawn, glm::vec3(0.01f, 0.0f, -0.01f), 0.7f, 0.1f,
                          0.7f, 0.13f, 1.0f, 10.0f, glm::vec3(0.0f), spawnsPerSecond);
}

// Reads `count` vec4 entries of a buffer.
inline std::vector<glm::vec4> readParticles(GLuint buffer, int count) {
    std::vector<glm::vec4> values(static_cast<size_t>(std::max(count, 0)));
    glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer);
    glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0,
                       static_cast<GLsizeiptr>(values.size() * sizeof(glm::vec4)), values.data());
    return values;
}
