// Times the render passes on llvmpipe (or any driver) over a synthetic street of boxes at
// 1280 x 720, with the occlusion pass also in a full-kernel variant for comparison, and optionally
// writes what each pass produced as PNG files. Run by hand:
//   tests/support/with-xvfb.sh build/tools/render_bench [--frames N] [--png DIR]
#include "hidden_gl_window.hpp"
#include "raw_mesh.hpp"
#include "render/final_pass.hpp"
#include "render/geometry_pass.hpp"
#include "render/light_set.hpp"
#include "render/lit_pass.hpp"
#include "render/occlusion.hpp"
#include "render/pass_timer.hpp"
#include "render/render_targets.hpp"
#include "render/shadow_map.hpp"

#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>
#include <stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

struct Programs {
    ShaderProgram depth, geometry, ssao, ssaoFullKernel, ssaoBlur, phong, color;
};

Programs loadPrograms() {
    const std::string root = DUSKVALE_SOURCE_DIR;
    Programs p;
    p.depth = loadShaderProgram(root, "simpleDepthShader.vert", "simpleDepthShader.frag");
    p.geometry = loadShaderProgram(root, "geometryShader.vert", "geometryShader.frag");
    p.ssao = loadShaderProgram(root, "shaderSSAO.vert", "shaderSSAO.frag");
    p.ssaoBlur = loadShaderProgram(root, "shaderSSAO.vert", "shaderSSAOBlur.frag");
    p.phong = loadShaderProgram(root, "basic_lighting_Phong.vert", "basic_lighting_Phong.frag");
    p.color = loadShaderProgram(root, "color.vert", "color.frag");
    // The same occlusion shader testing the whole kernel in every pixel, as a reference for the cost.
    std::string full = readShaderSource(root + "/assets/shaders/shaderSSAO.frag");
    const std::string interleaved = "SAMPLES_PER_PIXEL = 2;";
    const size_t at = full.find(interleaved);
    if (at != std::string::npos)
        full.replace(at, interleaved.size(), "SAMPLES_PER_PIXEL = 32;");
    p.ssaoFullKernel = buildProgram(readShaderSource(root + "/assets/shaders/shaderSSAO.vert"), full);
    return p;
}

// A street at night: ground, a tall building, parked cars, lamp posts under the scene's three lamps.
RawMesh buildStreet() {
    RawGeometry g;
    addPlane(g, glm::vec3(-15.0f, -1.5f, -5.0f), 60.0f);
    addBox(g, glm::vec3(-9.0f, -1.5f, -9.0f), glm::vec3(9.0f, 22.0f, 9.0f));
    addBox(g, glm::vec3(-12.0f, -1.5f, 8.0f), glm::vec3(-9.5f, 2.5f, 12.0f));
    for (glm::vec3 car :
         {glm::vec3(-20.0f, -1.5f, 8.0f), glm::vec3(-10.0f, -1.5f, -30.0f), glm::vec3(-30.0f, -1.5f, 6.0f)}) {
        addBox(g, car + glm::vec3(-2.0f, 0.3f, -1.0f), car + glm::vec3(2.0f, 1.1f, 1.0f));
        addBox(g, car + glm::vec3(-1.0f, 1.1f, -0.9f), car + glm::vec3(1.2f, 1.7f, 0.9f));
    }
    for (glm::vec3 lamp : {glm::vec3(-27.7966f, 4.64645f, -24.4273f), glm::vec3(-16.298f, 4.6957f, -14.6568f),
                           glm::vec3(-26.7636f, 4.18875f, 15.5621f)})
        addBox(g, glm::vec3(lamp.x - 0.12f, -1.5f, lamp.z - 0.12f),
               glm::vec3(lamp.x + 0.12f, lamp.y - 0.3f, lamp.z + 0.12f));
    for (int i = 0; i < 6; ++i) {
        const glm::vec3 crate(-22.0f + 3.0f * static_cast<float>(i), -1.5f,
                              -3.0f - 1.5f * static_cast<float>(i % 2));
        addBox(g, crate, crate + glm::vec3(1.0f, 1.0f + 0.3f * static_cast<float>(i), 1.0f));
    }
    return uploadRawMesh(g);
}

LightSet sceneLights() {
    LightSet lights;
    lights.pointPositions = {glm::vec3(-27.7966f, 4.64645f, -24.4273f),
                             glm::vec3(-16.298f, 4.6957f, -14.6568f),
                             glm::vec3(-26.7636f, 4.18875f, 15.5621f)};
    lights.pointColors = std::vector<glm::vec3>(3, glm::vec3(1.0f, 0.8f, 0.8f));
    lights.pointConstant = std::vector<float>(3, 0.2f);
    lights.pointLinear = std::vector<float>(3, 0.02f);
    lights.pointQuadratic = std::vector<float>(3, 0.1f);
    lights.pointCount = 3;
    lights.directionalDirections = {glm::vec3(0.3f, -0.5f, -1.0f)};
    lights.directionalColors = {glm::vec3(0.8f, 0.6f, 0.6f)};
    lights.directionalCount = 1;
    return lights;
}

void writePng(const std::string& path, GLuint texture, GLenum format, int components, float scale = 1.0f) {
    std::vector<float> pixels(static_cast<size_t>(kWidth) * kHeight * static_cast<size_t>(components));
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_FLOAT, pixels.data());
    std::vector<unsigned char> bytes(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c) {
                // Images are stored top row first; GL reads bottom row first.
                const size_t from = (static_cast<size_t>(kHeight - 1 - y) * kWidth + static_cast<size_t>(x)) *
                                        static_cast<size_t>(components) +
                                    static_cast<size_t>(std::min(c, components - 1));
                const float v = std::clamp(pixels[from] * scale, 0.0f, 1.0f);
                bytes[(static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 3 +
                      static_cast<size_t>(c)] = static_cast<unsigned char>(std::lround(v * 255.0f));
            }
    if (stbi_write_png(path.c_str(), kWidth, kHeight, 3, bytes.data(), kWidth * 3) == 0)
        std::cerr << "could not write " << path << ", going on without it" << std::endl;
}

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

} // namespace

int main(int argc, char** argv) {
    int frames = 40;
    std::string pngDir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc)
            frames = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc)
            pngDir = argv[++i];
    }
    GLFWwindow* window = openHiddenGlWindow(kWidth, kHeight, "render_bench");
    if (!window)
        return 1;
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    const Programs programs = loadPrograms();
    const RenderTargets targets = createRenderTargets(kWidth, kHeight);
    const std::vector<glm::vec3> kernel = buildOcclusionKernel();
    const GLuint noiseTexture = createNoiseTexture(buildOcclusionNoise());
    const glm::mat4 lightSpace = computeLightSpaceMatrix();
    const RawMesh street = buildStreet();
    const GLuint grey = createSolidTexture(glm::vec3(0.55f, 0.5f, 0.45f));
    const GLuint black = createSolidTexture(glm::vec3(0.0f));

    FrameView frame;
    frame.cameraPosition = glm::vec3(-38.0f, 5.0f, 26.0f);
    frame.projection =
        glm::perspective(glm::radians(60.0f), static_cast<float>(kWidth) / kHeight, 0.1f, 250.0f);
    frame.view =
        glm::lookAt(frame.cameraPosition, glm::vec3(-12.0f, 0.0f, -6.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    frame.viewProj = frame.projection * frame.view;
    const LightSet lights = sceneLights();
    AppState switches;

    auto drawStreet = [&](const ShaderProgram& program, const char* matrixName) {
        program.setMat4(matrixName, glm::mat4(1.0f));
        drawRawMesh(street);
    };
    // Each pass is timed three ways: by its GL timer query; by the wall clock between two glFinish
    // calls (llvmpipe rasterises lazily, so a query can also catch the tail of the pass before it);
    // and by the process's CPU time over the same span, which on a shared machine says what the pass
    // costs whatever else is running (llvmpipe spreads it over its threads).
    TimingRecord wallTimes;
    TimingRecord processTimes;
    auto record = [](TimingRecord& times, const char* name, double ms) {
        FrameTimes& frameTimes = times.frames.back();
        const size_t index = static_cast<size_t>(passIndex(times, name));
        frameTimes.passMs.resize(std::max(frameTimes.passMs.size(), index + 1), -1.0);
        frameTimes.passMs[index] = ms;
        frameTimes.cpuFrameMs = std::max(frameTimes.cpuFrameMs, 0.0) + ms;
    };
    auto timed = [&](PassTimer& timer, const char* name, auto&& pass) {
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = processCpuMs();
        beginTimedPass(timer, name);
        pass();
        endTimedPass(timer);
        glFinish();
        record(wallTimes, name,
               std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        record(processTimes, name, processCpuMs() - cpuStart);
    };
    auto runFrame = [&](PassTimer& timer, const ShaderProgram& ssaoProgram) {
        beginTimedFrame(timer);
        wallTimes.frames.emplace_back();
        processTimes.frames.emplace_back();
        timed(timer, "shadow", [&] {
            beginShadowPass(programs.depth, targets.shadow, lightSpace);
            drawStreet(programs.depth, "model");
        });
        timed(timer, "geometry", [&] {
            beginGeometryPass(programs.geometry, targets, lightSpace, frame);
            drawStreet(programs.geometry, "model");
        });
        timed(timer, "ssao",
              [&] { runOcclusionPass(ssaoProgram, targets, kernel, noiseTexture, frame.projection); });
        timed(timer, "ssao blur", [&] { runOcclusionBlurPass(programs.ssaoBlur, targets); });
        timed(timer, "lit", [&] {
            beginLitPass(targets);
            applyLightSet(programs.phong, frame.cameraPosition, lights, frame.viewProj, MaterialParams{},
                          2.0f, switches);
            bindLitPassInputs(programs.phong, targets);
            glActiveTexture(GL_TEXTURE1);
            glBindTexture(GL_TEXTURE_2D, black);
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, grey);
            drawStreet(programs.phong, "modelMatrix");
        });
        timed(timer, "final", [&] { runFinalPass(programs.color, targets); });
        glfwSwapBuffers(window);
    };

    for (const auto& [label, ssaoProgram] :
         {std::pair<const char*, ShaderProgram>{"interleaved kernel (2 samples per pixel)", programs.ssao},
          std::pair<const char*, ShaderProgram>{"full kernel (32 samples per pixel), reference",
                                                programs.ssaoFullKernel}}) {
        PassTimer warmUp;
        for (int i = 0; i < 3; ++i)
            runFrame(warmUp, ssaoProgram);
        finishTiming(warmUp);
        wallTimes = TimingRecord{};
        processTimes = TimingRecord{};
        PassTimer timer;
        for (int i = 0; i < frames; ++i)
            runFrame(timer, ssaoProgram);
        finishTiming(timer);
        std::printf("\n%s, %d frames at %d x %d\nGL timer queries:\n", label, frames, kWidth, kHeight);
        printSummary(std::cout, timer.record);
        std::printf("wall time of each pass between glFinish calls:\n");
        printSummary(std::cout, wallTimes);
        std::printf("process CPU time (all threads) of each pass between glFinish calls:\n");
        printSummary(std::cout, processTimes);
        if (!pngDir.empty()) {
            const std::string suffix = ssaoProgram.id == programs.ssao.id ? "" : "_full_kernel";
            writePng(pngDir + "/ssao_raw" + suffix + ".png", targets.ssaoColorBuffer, GL_RED, 1);
            writePng(pngDir + "/ssao_blurred" + suffix + ".png", targets.ssaoColorBufferBlur, GL_RED, 1);
            writePng(pngDir + "/lit" + suffix + ".png", targets.sceneColor, GL_RGBA, 4);
        }
    }
    if (!pngDir.empty()) {
        writePng(pngDir + "/shadow_term.png", targets.gShadowTexture, GL_RGBA, 4);
        writePng(pngDir + "/view_normal.png", targets.gNormalTexture, GL_RGBA, 4);
        PassTimer unused;
        switches.ambientOcclusionEnabled = false;
        runFrame(unused, programs.ssao);
        writePng(pngDir + "/lit_no_ao.png", targets.sceneColor, GL_RGBA, 4);
        switches.ambientOcclusionEnabled = true;
        switches.gammaEnabled = false;
        runFrame(unused, programs.ssao);
        writePng(pngDir + "/lit_no_gamma.png", targets.sceneColor, GL_RGBA, 4);
        finishTiming(unused);
    }
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}
