// Times the real scene's passes object by object on llvmpipe (or any driver), from the camera at a
// few moments of the flight, to show where a frame's time goes. Run by hand from the build folder:
//   tests/support/with-xvfb.sh build/tools/scene_bench [--passes-only] [--assets DIR] [--size WxH]
//       [--repeat N] [--flight SECONDS]
// Prints, per flight time, each pass's whole time and each object's share of it (CPU ms).
#include "app/app_state.hpp"
#include "app/frame_resources.hpp"
#include "app/scene.hpp"
#include "camera/camera.hpp"
#include "camera/camera_path.hpp"
#include "hidden_gl_window.hpp"
#include "model/model.hpp"
#include "render/geometry_pass.hpp"
#include "render/lit_pass.hpp"
#include "render/occlusion.hpp"
#include "render/scene_passes.hpp"
#include "render/shadow_map.hpp"

#include <GLFW/glfw3.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kObjectNames[] = {"building", "background", "car A",  "car B",  "car C",
                                    "tree 1",   "tree 2",     "tree 3", "tree 4", "tree 5",
                                    "tree 6",   "terrain",    "window"};

// llvmpipe runs a framebuffer's draws only when it flushes them, so its timer queries do not split a
// pass into objects; this measures the process's CPU time (all of llvmpipe's threads) from one
// glFinish to the next instead, which other processes on the machine disturb little. The smallest of
// `repeat` runs of `work`, in ms.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double timeGpu(int repeat, const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < repeat; ++i) {
        glFinish();
        const double start = cpuMs();
        work();
        glFinish();
        best = std::min(best, cpuMs() - start);
    }
    return best;
}

// Each object drawn after `begin` has set up its pass, timed alone with the objects before it already
// drawn (so the depth test sees what it would in the real pass).
void timeObjects(int repeat, const std::vector<SceneObject>& objects, const std::function<void()>& begin,
                 const std::function<void(const SceneObject&)>& draw, std::vector<double>& out) {
    out.assign(objects.size(), 0.0);
    for (size_t i = 0; i < objects.size(); ++i) {
        out[i] = 1e30;
        for (int r = 0; r < repeat; ++r) {
            begin();
            for (size_t j = 0; j < i; ++j)
                draw(objects[j]);
            glFinish();
            out[i] = std::min(out[i], timeGpu(1, [&] { draw(objects[i]); }));
        }
    }
}

std::vector<unsigned char> readSceneColor(const RenderTargets& targets) {
    std::vector<unsigned char> pixels(static_cast<size_t>(targets.width) * targets.height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, targets.sceneFBO);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, targets.width, targets.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

} // namespace

int main(int argc, char** argv) {
    std::string assets = std::string(DUSKVALE_BUILD_DIR) + "/assets";
    int width = 1280, height = 720, repeat = 3;
    bool passesOnly = false;
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--passes-only"))
            passesOnly = true;
    for (int i = 1 + passesOnly; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--assets"))
            assets = argv[i + 1];
        else if (!std::strcmp(argv[i], "--size"))
            std::sscanf(argv[i + 1], "%dx%d", &width, &height);
        else if (!std::strcmp(argv[i], "--repeat"))
            repeat = std::max(1, std::atoi(argv[i + 1]));
    }
    if (chdir(assets.c_str()) != 0) {
        std::fprintf(stderr, "scene_bench: cannot change into %s\n", assets.c_str());
        return 1;
    }
    GLFWwindow* window = openHiddenGlWindow(width, height, "scene_bench");
    if (!window)
        return 1;
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    // The load reports would drown the table.
    std::fflush(stdout);
    const int savedStdout = dup(1);
    FILE* devNull = std::fopen("/dev/null", "w");
    dup2(fileno(devNull), 1);
    Scene scene = buildScene();
    Settings settings;
    settings.width = width;
    settings.height = height;
    FrameResources r = createFrameResources(scene, settings);
    std::fflush(stdout);
    dup2(savedStdout, 1);
    std::fclose(devNull);

    const CameraPath path;
    std::vector<float> flights = {2.0f, 10.0f, 30.0f, 45.0f, 70.0f, 85.0f};
    for (int i = 1; i + 1 < argc; ++i)
        if (!std::strcmp(argv[i], "--flight"))
            flights = {static_cast<float>(std::atof(argv[i + 1]))};
    for (float flight : flights) {
        Camera camera;
        float time = 0.0f;
        path.advance(camera, time, flight - 0.5f);
        path.advance(camera, time, 0.5f);
        FrameView view;
        view.projection = projectionMatrix(width, height);
        view.view = camera.viewMatrix();
        view.viewProj = view.projection * view.view;
        view.cameraPosition = camera.position;

        const double shadow = timeGpu(repeat, [&] {
            // Measures the full draw of the static objects, not the per-frame repair of the kept map.
            r.targets.shadow.staticDrawn = false;
            runShadowPass(scene.depthProgram, r.targets.shadow, r.lightSpaceMatrix, r.shadowObjects);
        });
        const double shadowClear = timeGpu(
            repeat, [&] { beginShadowPass(scene.depthProgram, r.targets.shadow, r.lightSpaceMatrix); });
        const double geometryClear = timeGpu(
            repeat, [&] { beginGeometryPass(scene.geometryProgram, r.targets, r.lightSpaceMatrix, view); });
        const double litClear = timeGpu(repeat, [&] {
            beginLitPass(r.targets);
            endLitPass();
        });
        const double geometry = timeGpu(repeat, [&] {
            runGeometryPass(scene.geometryProgram, r.targets, r.lightSpaceMatrix, view, r.shadowObjects);
        });
        const double ssao = timeGpu(repeat, [&] {
            runOcclusionPass(scene.ssaoProgram, r.targets, r.ssaoKernel, r.noiseTexture, view.projection);
        });
        const double blur = timeGpu(repeat, [&] { runOcclusionBlurPass(scene.ssaoBlurProgram, r.targets); });
        const double lit = timeGpu(repeat, [&] {
            runLitPass(scene.phongProgram, r.targets, view, r.lights, 2.0f, appState, r.litGroups);
        });
        // The lit pass as it runs, against plain depth testing with writes (what it replaces): the
        // copied depth must not change a pixel.
        const std::vector<unsigned char> fast = readSceneColor(r.targets);
        beginLitPass(r.targets);
        endLitPass();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDepthFunc(GL_LESS);
        {
            LightSet groupLights = r.lights;
            for (const LitGroup& group : r.litGroups) {
                groupLights.pointCount = group.pointCount;
                groupLights.directionalCount = group.directionalCount;
                applyLightSet(scene.phongProgram, view.cameraPosition, groupLights, view.viewProj,
                              group.material, 2.0f, appState);
                bindLitPassInputs(scene.phongProgram, r.targets);
                drawSceneObjects(scene.phongProgram, group.objects, "modelMatrix");
            }
        }
        const std::vector<unsigned char> plain = readSceneColor(r.targets);
        size_t differing = 0;
        for (size_t i = 0; i < fast.size(); i += 4)
            differing += std::abs(fast[i] - plain[i]) > 1 || std::abs(fast[i + 1] - plain[i + 1]) > 1 ||
                         std::abs(fast[i + 2] - plain[i + 2]) > 1;
        if (std::getenv("SCENE_BENCH_PNG")) {
            const std::string stem =
                std::string(std::getenv("SCENE_BENCH_PNG")) + std::to_string(int(flight));
            stbi_flip_vertically_on_write(1);
            stbi_write_png((stem + "_fast.png").c_str(), width, height, 4, fast.data(), width * 4);
            stbi_write_png((stem + "_plain.png").c_str(), width, height, 4, plain.data(), width * 4);
        }
        std::printf(
            "\nflight %.0f s: %zu of %zu lit pixels differ from plain depth testing by more than 1/255",
            flight, differing, fast.size() / 4);
        std::printf("\nflight %.0f s: set-up alone (clears, copies): shadow %.1f  geometry %.1f  lit %.1f ms",
                    flight, shadowClear, geometryClear, litClear);
        std::printf("\nflight %.0f s: shadow %.1f  geometry %.1f  ssao %.1f  blur %.1f  lit %.1f ms\n",
                    flight, shadow, geometry, ssao, blur, lit);

        if (passesOnly)
            continue;
        std::vector<double> shadowObjects, geometryObjects;
        timeObjects(
            repeat, r.shadowObjects,
            [&] { beginShadowPass(scene.depthProgram, r.targets.shadow, r.lightSpaceMatrix); },
            [&](const SceneObject& o) {
                scene.depthProgram.setMat4("model", o.matrix);
                o.model->draw();
            },
            shadowObjects);
        timeObjects(
            repeat, r.shadowObjects,
            [&] { beginGeometryPass(scene.geometryProgram, r.targets, r.lightSpaceMatrix, view); },
            [&](const SceneObject& o) {
                scene.geometryProgram.setMat4("model", o.matrix);
                o.model->draw();
            },
            geometryObjects);
        // The lit pass draws the same objects in its own groups; time each under its group's lights.
        std::vector<SceneObject> litObjects;
        std::vector<const LitGroup*> litGroupOf;
        for (const LitGroup& group : r.litGroups)
            for (const SceneObject& o : group.objects) {
                litObjects.push_back(o);
                litGroupOf.push_back(&group);
            }
        std::vector<double> litTimes;
        size_t drawn = 0;
        timeObjects(
            repeat, litObjects,
            [&] {
                endLitPass();
                beginLitPass(r.targets);
                drawn = 0;
            },
            [&](const SceneObject& o) {
                const LitGroup& group = *litGroupOf[drawn++ % litObjects.size()];
                LightSet lights = r.lights;
                lights.pointCount = group.pointCount;
                lights.directionalCount = group.directionalCount;
                applyLightSet(scene.phongProgram, view.cameraPosition, lights, view.viewProj, group.material,
                              2.0f, appState);
                bindLitPassInputs(scene.phongProgram, r.targets);
                scene.phongProgram.setMat4("modelMatrix", o.matrix);
                o.model->draw();
            },
            litTimes);
        endLitPass();
        std::printf("  %-12s %9s %9s %9s\n", "object", "shadow", "geometry", "lit");
        for (size_t i = 0; i < r.shadowObjects.size(); ++i) {
            double litMs = 0.0;
            for (size_t j = 0; j < litObjects.size(); ++j)
                if (litObjects[j].model == r.shadowObjects[i].model)
                    litMs = litTimes[j];
            std::printf("  %-12s %9.1f %9.1f %9.1f\n", kObjectNames[i], shadowObjects[i], geometryObjects[i],
                        litMs);
        }
    }
    if (passesOnly) {
        glfwDestroyWindow(window);
        glfwTerminate();
        return 0;
    }
    // The shadow map's share of each terrain and building mesh, from the fixed light.
    std::printf("\nshadow pass, mesh by mesh (CPU ms)\n");
    for (size_t objectIndex : {size_t(0), size_t(11)}) {
        const SceneObject& object = r.shadowObjects[objectIndex];
        for (const Mesh& mesh : object.model->meshes) {
            double ms = 1e30;
            for (int i = 0; i < repeat; ++i) {
                beginShadowPass(scene.depthProgram, r.targets.shadow, r.lightSpaceMatrix);
                scene.depthProgram.setMat4("model", object.matrix);
                ms = std::min(ms, timeGpu(1, [&] { mesh.draw(); }));
            }
            std::printf("  %-10s %-24s %6zu triangles %8.1f\n", kObjectNames[objectIndex],
                        mesh.textures.empty() ? "" : mesh.textures[0].path.c_str(),
                        static_cast<size_t>(mesh.indexCount / 3), ms);
        }
    }
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}
