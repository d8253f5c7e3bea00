// Measures the particle pass on its own: the scene's four emitters over a whole 91.5 s flight at a
// fixed 1/30 s step, drawn into an off-screen 1280x720 target by a camera that looks at emitters C and
// D. Prints live counts over time, the pass's frame times and the CPU wait of the counter read-back.
//
// Usage: particle_benchmark [assets-dir] [--route] [--split] [--png file --at seconds]
//                           [--seconds flight] [--draw-from seconds]
// --route flies the scene's camera route instead of holding the camera on C and D; it passes through
// the smoke, which is where blended sprites cost most. --split finishes each phase before the next to
// time the compute dispatches and the draws apart. --draw-from simulates the frames before it
// without drawing or timing them, to reach a later state fast.
// The assets directory is the working directory (textures/smoke*.png, ../assets/shaders/...).
#include "particles/particle_pass.hpp"
#include "render/shader_program.hpp"
#include "render/timing_stats.hpp"

#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>
#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int width = 1280;
constexpr int height = 720;
constexpr double step = 1.0 / 30.0;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of the whole process (llvmpipe's worker threads included): steadier than wall time on
// a machine shared with other work.
double processorMillisecondsSince(std::clock_t start) {
    return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// The scene's camera route (position, look-at target, seconds to reach the row), for --route.
struct RouteRow {
    glm::vec3 position;
    glm::vec3 target;
    float duration;
};
const RouteRow route[] = {
    {{-10.8373f, 16.1101f, 1.66972f}, {-6.05672f, 16.2662f, 8.07722f}, 0},
    {{-6.05672f, 16.2662f, 4.07722f}, {-3.34102f, 16.2951f, 2.133027f}, 4},
    {{-5.34102f, 16.2951f, -0.133027f}, {2.23165f, 16.2017f, -4.3066f}, 4},
    {{-6.23165f, 16.2017f, -4.3066f}, {-4.49184f, 18.1267f, -9.60501f}, 4},
    {{-6.49184f, 18.1267f, -9.60501f}, {-4.0f, 20.0f, -4.5f}, 4},
    {{-3.50684f, 19.6024f, -5.06904f}, {-5.0f, 20.0f, 0.0f}, 4},
    {{-14.1914f, 21.6207f, -12.1069f}, {-5.0f, 20.0f, 0.0f}, 6},
    {{-29.3726f, 28.2548f, 3.07915f}, {-5.0f, 20.0f, 0.0f}, 6},
    {{-24.2505f, 42.235f, 23.247f}, {-5.0f, 20.0f, 0.0f}, 6},
    {{8.58756f, 34.8238f, 29.6038f}, {-5.0f, 20.0f, 0.0f}, 6},
    {{20.1496f, 19.3923f, -5.35249f}, {-5.0f, 20.0f, 0.0f}, 6},
    {{-23.0f, 2.0f, -40.0f}, {-23.0f, 2.0f, 30.0f}, 8},
    {{-23.0f, 2.0f, 24.0f}, {-23.0f, 2.0f, 60.0f}, 17},
    {{-23.0f, 2.0f, 28.0f}, {-10.0f, 2.0f, 5.0f}, 5},
    {{-23.0f, 2.0f, 32.0f}, {-23.0f, 2.0f, -30.0f}, 5},
};

glm::mat4 routeView(double flightTime) {
    float start = 0.0f;
    const size_t rows = sizeof(route) / sizeof(route[0]);
    for (size_t j = 0; j + 1 < rows; ++j) {
        const float length = route[j + 1].duration;
        if (flightTime < start + length) {
            const float f = static_cast<float>(flightTime - start) / length;
            const glm::vec3 position = glm::mix(route[j].position, route[j + 1].position, f);
            const glm::vec3 target = glm::mix(route[j].target, route[j + 1].target, f);
            return glm::lookAt(position, target, glm::vec3(0.0f, 1.0f, 0.0f));
        }
        start += length;
    }
    return glm::lookAt(route[rows - 1].position, route[rows - 1].target, glm::vec3(0.0f, 1.0f, 0.0f));
}

// The scene target's shape: two half-float colour attachments and a depth-stencil buffer.
GLuint makeSceneTarget() {
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    for (int attachment = 0; attachment < 2; ++attachment) {
        GLuint colour = 0;
        glGenTextures(1, &colour);
        glBindTexture(GL_TEXTURE_2D, colour);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + attachment, GL_TEXTURE_2D, colour, 0);
    }
    GLuint depth = 0;
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
    const GLenum buffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, buffers);
    return framebuffer;
}

void savePicture(const std::string& path) {
    std::vector<float> pixels(width * height * 4);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, pixels.data());
    std::vector<unsigned char> bytes(width * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                bytes[static_cast<size_t>(((height - 1 - y) * width + x) * 3 + c)] =
                    static_cast<unsigned char>(
                        std::clamp(pixels[static_cast<size_t>((y * width + x) * 4 + c)], 0.0f, 1.0f) *
                        255.0f);
    stbi_write_png(path.c_str(), width, height, 3, bytes.data(), width * 3);
}

struct FrameTiming {
    double pass = 0.0;
    double passProcessor = 0.0;
    double compute = 0.0;
    double wait = 0.0;
    double draw = 0.0;
};

// The pass as the frame runs it; only the counter read-backs are timed inside, and the pass ends
// when the GL has finished its work.
FrameTiming timeAsRun(std::vector<ParticleSystem>& emitters, const std::array<glm::mat4, 4>& placements,
                      const glm::mat4& view, const glm::mat4& projection) {
    FrameTiming timing;
    const Clock::time_point start = Clock::now();
    const std::clock_t processorStart = std::clock();
    beginParticlePass();
    for (size_t k = 0; k < emitters.size(); ++k) {
        emitters[k].runComputeStep(step);
        const Clock::time_point readStart = Clock::now();
        emitters[k].collectLiveCount();
        timing.wait += millisecondsSince(readStart);
        emitters[k].draw(view * placements[k], projection);
    }
    endParticlePass();
    glFinish();
    timing.pass = millisecondsSince(start);
    timing.passProcessor = processorMillisecondsSince(processorStart);
    return timing;
}

// The same pass with every phase finished before the next, to split it into the compute dispatch,
// the counter read-back and the draw.
FrameTiming timePhases(std::vector<ParticleSystem>& emitters, const std::array<glm::mat4, 4>& placements,
                       const glm::mat4& view, const glm::mat4& projection) {
    FrameTiming timing;
    const std::clock_t processorStart = std::clock();
    beginParticlePass();
    for (size_t k = 0; k < emitters.size(); ++k) {
        Clock::time_point start = Clock::now();
        emitters[k].runComputeStep(step);
        glFinish();
        timing.compute += millisecondsSince(start);
        start = Clock::now();
        emitters[k].collectLiveCount();
        timing.wait += millisecondsSince(start);
        start = Clock::now();
        emitters[k].draw(view * placements[k], projection);
        glFinish();
        timing.draw += millisecondsSince(start);
    }
    endParticlePass();
    timing.pass = timing.compute + timing.wait + timing.draw;
    timing.passProcessor = processorMillisecondsSince(processorStart);
    return timing;
}

} // namespace

int main(int argc, char** argv) {
    // Progress lines are worth seeing while a slow run goes on.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string assets = DUSKVALE_ASSETS_DIR;
    std::string picturePath;
    double pictureAt = 30.0;
    double flightSeconds = 91.5;
    double drawFrom = 0.0;
    bool flyRoute = false;
    bool split = false;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--png" && k + 1 < argc)
            picturePath = argv[++k];
        else if (arg == "--at" && k + 1 < argc)
            pictureAt = std::stod(argv[++k]);
        else if (arg == "--route")
            flyRoute = true;
        else if (arg == "--split")
            split = true;
        else if (arg == "--seconds" && k + 1 < argc)
            flightSeconds = std::stod(argv[++k]);
        else if (arg == "--draw-from" && k + 1 < argc)
            drawFrom = std::stod(argv[++k]);
        else
            assets = arg;
    }
    std::error_code error;
    std::filesystem::current_path(assets, error);
    if (error) {
        std::fprintf(stderr, "Cannot enter the assets folder %s: %s\n", assets.c_str(),
                     error.message().c_str());
        return 1;
    }

    if (!glfwInit())
        return 1;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "particle benchmark", nullptr, nullptr);
    if (!window) {
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);
    gladLoadGL(glfwGetProcAddress);
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    const std::string shaders = "../assets/shaders/";
    const ShaderProgram render = buildProgram(readShaderSource(shaders + "particleVertexShader.vert"),
                                              readShaderSource(shaders + "particleFragmentShader.frag"),
                                              readShaderSource(shaders + "particlegeometrieShader.gm"));
    const ShaderProgram compute =
        buildComputeProgram(readShaderSource(shaders + "particlecomputeShader.comp"));

    std::vector<ParticleSystem> emitters;
    const glm::vec3 black(0.0f);
    emitters.emplace_back(compute.id, render.id, 10000, 12, glm::vec3(0, 0.15f, 0), 20.0f,
                          glm::vec3(0.01f, 0, -0.01f), 0.7f, 0.1f, 0.7f, 0.13f, 1.0f, 10.0f, black, 10.0);
    emitters.emplace_back(compute.id, render.id, 20000, 18, glm::vec3(0, 0.15f, 0), 16.0f,
                          glm::vec3(0.01f, 0, -0.007f), 0.7f, 0.1f, 0.7f, 0.13f, 1.0f, 10.0f, black, 15.0);
    emitters.emplace_back(compute.id, render.id, 50000, 15, glm::vec3(0, 0.3f, 0), 20.0f,
                          glm::vec3(0.01f, 0, -0.03f), 3.0f, 0.2f, 3.0f, 0.2f, 2.0f, 5.0f, black, 25.0);
    emitters.emplace_back(compute.id, render.id, 50000, 20, glm::vec3(0, 0.33f, 0), 30.0f,
                          glm::vec3(0.01f, 0, -0.035f), 3.0f, 0.2f, 2.0f, 0.2f, 2.0f, 5.0f, black, 30.0);
    const std::array<glm::mat4, 4> placements = {
        glm::translate(glm::mat4(1.0f), glm::vec3(-22.0f, 0.0f, 7.7f)),
        glm::translate(glm::mat4(1.0f), glm::vec3(-10.3f, -1.5f, -30.3f)),
        glm::translate(glm::mat4(1.0f), glm::vec3(-12.0f, 18.0f, -3.3f)),
        glm::translate(glm::mat4(1.0f), glm::vec3(2.0f, 24.7f, -2.3f))};

    // Where the flight is 30 s in, looking at the building's roof between C and D.
    const glm::mat4 fixedView = glm::lookAt(glm::vec3(-24.3f, 26.0f, -2.0f), glm::vec3(-5.0f, 20.0f, 0.0f),
                                            glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 projection =
        glm::perspective(glm::radians(60.0f), static_cast<float>(width) / height, 0.1f, 250.0f);

    const GLuint sceneTarget = makeSceneTarget();
    glViewport(0, 0, width, height);
    glEnable(GL_CULL_FACE);

    const int frames = static_cast<int>(flightSeconds / step + 0.5);
    std::vector<double> passTimes;
    std::vector<double> computeTimes;
    std::vector<double> counterWaits;
    std::vector<double> drawTimes;
    std::vector<double> passProcessorTimes;
    std::array<int, 4> peaks{};
    std::printf("%8s %7s %7s %7s %7s %9s %9s%s\n", "flight s", "A", "B", "C", "D", "pass ms", "wait ms",
                split ? "   compute      draw" : "");
    for (int frame = 1; frame <= frames; ++frame) {
        const double flightTime = frame * step;
        if (flightTime < drawFrom) {
            for (ParticleSystem& emitter : emitters)
                emitter.update(step);
            continue;
        }
        const glm::mat4 view = flyRoute ? routeView(flightTime) : fixedView;
        glBindFramebuffer(GL_FRAMEBUFFER, sceneTarget);
        glClearColor(0.03f, 0.03f, 0.06f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();

        const FrameTiming timing = split ? timePhases(emitters, placements, view, projection)
                                         : timeAsRun(emitters, placements, view, projection);
        for (size_t k = 0; k < emitters.size(); ++k)
            peaks[k] = std::max(peaks[k], emitters[k].liveCount);
        passTimes.push_back(timing.pass);
        passProcessorTimes.push_back(timing.passProcessor);
        counterWaits.push_back(timing.wait);
        computeTimes.push_back(timing.compute);
        drawTimes.push_back(timing.draw);

        if (!picturePath.empty() && std::abs(flightTime - pictureAt) < step / 2)
            savePicture(picturePath);
        if (frame % 150 == 0 || frame == frames) {
            std::printf("%8.1f %7d %7d %7d %7d %9.1f %9.3f", flightTime, emitters[0].liveCount,
                        emitters[1].liveCount, emitters[2].liveCount, emitters[3].liveCount, timing.pass,
                        timing.wait);
            if (split)
                std::printf(" %9.2f %9.1f", timing.compute, timing.draw);
            std::printf("\n");
        }
    }
    std::printf("peak live counts: A %d, B %d, C %d, D %d\n", peaks[0], peaks[1], peaks[2], peaks[3]);
    std::printf("particle pass (update + draw, 4 emitters%s): median %.1f ms, 95th percentile %.1f ms\n",
                split ? ", phases finished one by one" : "", medianOf(passTimes),
                percentileOf(passTimes, 95.0));
    std::printf("  processor time of all threads: median %.1f ms\n", medianOf(passProcessorTimes));
    std::printf("  counter read-back wait (4 maps): median %.3f ms, 95th percentile %.3f ms\n",
                medianOf(counterWaits), percentileOf(counterWaits, 95.0));
    if (split) {
        std::printf("  compute dispatches: median %.2f ms, 95th percentile %.2f ms\n", medianOf(computeTimes),
                    percentileOf(computeTimes, 95.0));
        std::printf("  draws: median %.1f ms, 95th percentile %.1f ms\n", medianOf(drawTimes),
                    percentileOf(drawTimes, 95.0));
    }
    std::printf("GL error at the end: 0x%x\n", glGetError());
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}
