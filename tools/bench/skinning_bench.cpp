// Prints what the character costs the CPU per pass: one boneTransforms call and one drawSkinned call
// (evaluation, bone uniform look-ups by name, uploads and mesh draws) on an animation file.
// Usage: skinning_bench [FILE [ANIMATION]]; by default the generated character in the build's assets.
#include "hidden_gl_window.hpp"
#include "model/animation.hpp"
#include "render/shader_program.hpp"
#include "render/timing_stats.hpp"

#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Stands in for the skinned programs when the assets' own shaders are not there: the same interface
// ("gBones", "modelMatrix", attributes 5 and 6), so the uniform look-ups cost the same.
const char* fallbackVertex = R"(#version 430 core
layout(location = 0) in vec3 position;
layout(location = 5) in ivec4 boneIds;
layout(location = 6) in vec4 weights;
uniform mat4 gBones[100];
uniform mat4 modelMatrix;
void main() {
    mat4 skin = gBones[boneIds[0]] * weights[0] + gBones[boneIds[1]] * weights[1] +
                gBones[boneIds[2]] * weights[2] + gBones[boneIds[3]] * weights[3];
    gl_Position = modelMatrix * skin * vec4(position, 1.0);
}
)";
const char* fallbackFragment = "#version 430 core\nout vec4 colour;\nvoid main() { colour = vec4(1.0); }\n";

struct Timing {
    double wallMicroseconds;
    double threadCpuMicroseconds;
};

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

template <typename Call> Timing timeOnce(Call call) {
    const double cpuStart = threadCpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    call();
    const auto wallEnd = std::chrono::steady_clock::now();
    const double cpuEnd = threadCpuSeconds();
    return Timing{std::chrono::duration<double, std::micro>(wallEnd - wallStart).count(),
                  1e6 * (cpuEnd - cpuStart)};
}

void report(const char* name, const std::vector<Timing>& timings) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Timing& t : timings) {
        wall.push_back(t.wallMicroseconds);
        cpu.push_back(t.threadCpuMicroseconds);
    }
    std::printf("%-14s calls %4zu  median %9.1f us  p95 %9.1f us  thread CPU median %9.1f us\n", name,
                wall.size(), medianOf(wall), percentileOf(wall, 95.0), medianOf(cpu));
}

} // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const fs::path assets = fs::path(DUSKVALE_BUILD_DIR) / "assets";
    std::string file = argc > 1 ? argv[1] : "animations/WendrelAnimation.fbx";
    const int animation = argc > 2 ? std::atoi(argv[2]) : 1;
    if (argc <= 1) {
        if (!fs::exists(assets / file)) {
            std::fprintf(stderr, "skinning_bench: %s not found; build the assets or name a file\n",
                         (assets / file).c_str());
            return 1;
        }
        fs::current_path(assets); // material textures are named relative to the assets folder
    }

    GLFWwindow* window = openHiddenGlWindow(320, 240, "skinning_bench");
    if (!window)
        return 1;

    Model character(file);
    if (!hasAnimation(character, animation)) {
        std::fprintf(stderr, "skinning_bench: %s has no animation %d; nothing to measure\n", file.c_str(),
                     animation);
        glfwTerminate();
        return 1;
    }
    const bool ownShaders = fs::exists("../assets/shaders/skinning_phong_shader.vert") &&
                            fs::exists("../assets/shaders/skinning_phong_shader.frag");
    ShaderProgram program =
        ownShaders ? buildProgram(readShaderSource("../assets/shaders/skinning_phong_shader.vert"),
                                  readShaderSource("../assets/shaders/skinning_phong_shader.frag"))
                   : buildProgram(fallbackVertex, fallbackFragment);
    if (program.id == 0)
        program = buildProgram(fallbackVertex, fallbackFragment);
    program.use();

    std::size_t vertices = 0;
    for (const Mesh& mesh : character.meshes)
        vertices += mesh.vertices.size();
    std::printf("\nskinning_bench: %s, animation %d, %zu bones, %zu meshes, %zu vertices, %s program\n",
                file.c_str(), animation, character.boneInfo.size(), character.meshes.size(), vertices,
                ownShaders ? "the assets' skinned" : "a stand-in skinning");

    constexpr int warmUp = 10;
    constexpr int calls = 300;
    const glm::mat4 modelMatrix = glm::scale(glm::mat4(1.0f), glm::vec3(0.02f));
    std::vector<glm::mat4> transforms;
    std::vector<Timing> evaluation;
    std::vector<Timing> draws;
    for (int i = 0; i < warmUp + calls; ++i) {
        const float now = 0.016f * static_cast<float>(i);
        const Timing t = timeOnce([&] { boneTransforms(character, now, animation, transforms); });
        if (i >= warmUp)
            evaluation.push_back(t);
    }
    for (int i = 0; i < warmUp + calls; ++i) {
        const float now = 0.016f * static_cast<float>(i);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const Timing t = timeOnce([&] { drawSkinned(now, character, program.id, modelMatrix, animation); });
        glFinish(); // keeps the driver's queue from growing into the next measured call
        if (i >= warmUp)
            draws.push_back(t);
    }
    report("boneTransforms", evaluation);
    report("drawSkinned", draws);
    glfwTerminate();
    return 0;
}
