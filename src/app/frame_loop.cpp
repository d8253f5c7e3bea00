// The frame, step by step. Each pass sets the GL state it relies on; the loop itself only clears the
// window's framebuffer at the top of the frame.
#include "app/frame_loop.hpp"

#include "app/app_state.hpp"
#include "app/hud.hpp"
#include "app/input.hpp"
#include "app/light_flicker.hpp"
#include "app/recorder.hpp"
#include "app/scene_clock.hpp"
#include "app/screenshot.hpp"
#include "app/screenshot_key.hpp"
#include "app/sound_cues.hpp"
#include "app/window_events.hpp"
#include "app/window_title.hpp"
#include "camera/camera_path.hpp"
#include "model/skinned_bounds.hpp"
#include "particles/particle_pass.hpp"
#include "render/buffer_views.hpp"
#include "render/character_passes.hpp"
#include "render/lit_variants.hpp"
#include "render/occlusion.hpp"
#include "render/pass_timer.hpp"
#include "render/scene_passes.hpp"
#include "render/unit_random.hpp"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>

namespace {

// Everything one frame's passes read besides the scene.
struct FrameInputs {
    FrameView view;
    float now = 0.0f;
    float gamma = 2.0f;
    SkippedPasses skip;
    PassTimer* timer = nullptr; // --benchmark, or the panel's while it is shown
    BufferView shownView = BufferView::lit;
    BufferViews* views = nullptr;
    GeometryPrograms geometry;
    LitVariants* litVariants = nullptr;
};

int liveParticles(const Scene& scene) {
    int live = 0;
    for (const ParticleSystem& emitter : scene.emitters)
        live += emitter.liveCount;
    return live;
}

void beginPass(const FrameInputs& in, const char* name) {
    if (in.timer)
        beginTimedPass(*in.timer, name);
}

void endPass(const FrameInputs& in) {
    if (in.timer)
        endTimedPass(*in.timer);
}

// The character's draw inside a pass whose skinned program is current, timed on its own. Returns
// whether it drew.
bool drawCharacter(Scene& scene, FrameResources& r, const FrameInputs& in, const ShaderProgram& program,
                   bool shadowPass) {
    return runCharacterScript(r.characterScript, scene.models.character.get(), program.id, in.now,
                              appState.deltaTime, appState.flightTime, shadowPass);
}

// The shadow map keeps the static objects' depth between frames; where the character's shadow has
// just gone, the next frame's shadow pass restores it.
void markCharacterShadow(const Scene& scene, FrameResources& r) {
    const Model* character = scene.models.character.get();
    const CharacterDraw draw = chooseCharacterDraw(r.characterScript, appState.flightTime, true);
    glm::vec3 boxMin(0.0f);
    glm::vec3 boxMax(0.0f);
    if (skinnedWorldBounds(*character, draw.matrix, boxMin, boxMax))
        markShadowDirty(r.targets.shadow, r.lightSpaceMatrix, boxMin, boxMax);
}

// The passes of one frame, in their fixed order. The character joins the shadow, geometry and lit
// passes, and the character's sound cues sit between the lit scene and the particles.
void drawFramePasses(Scene& scene, FrameResources& r, const FrameInputs& in, SoundCues& soundCues,
                     SoundEngine* soundEngine) {
    static const std::vector<SceneObject> nothing;
    beginPass(in, "shadow");
    runShadowPass(scene.depthProgram, r.targets.shadow, r.lightSpaceMatrix,
                  in.skip.shadow ? nothing : r.shadowObjects);
    endPass(in);
    if (!in.skip.shadow && !in.skip.character) {
        beginPass(in, "character shadow");
        prepareCharacterShadowDraw(scene.depthSkinnedProgram, r.lightSpaceMatrix);
        if (drawCharacter(scene, r, in, scene.depthSkinnedProgram, true))
            markCharacterShadow(scene, r);
        endPass(in);
    }

    beginPass(in, "geometry");
    runGeometryPass(*in.geometry.statics, r.targets, r.lightSpaceMatrix, in.view, r.shadowObjects,
                    viewNeedsMaterial(in.shownView), in.geometry.staticsUnshadowed);
    endPass(in);
    if (!in.skip.character) {
        beginPass(in, "character geometry");
        prepareCharacterGeometryDraw(*in.geometry.skinned, in.view, r.lights, in.gamma, appState);
        drawCharacter(scene, r, in, *in.geometry.skinned, false);
        endPass(in);
    }

    beginPass(in, "ssao");
    if (in.skip.occlusion)
        clearOcclusion(r.targets);
    else
        runOcclusionPass(scene.ssaoProgram, r.targets, r.ssaoKernel, r.noiseTexture, in.view.projection);
    endPass(in);
    if (!in.skip.occlusion) {
        beginPass(in, "ssao blur");
        runOcclusionBlurPass(scene.ssaoBlurProgram, r.targets);
        endPass(in);
    }

    beginPass(in, "lit");
    runLitPass(scene.phongProgram, r.targets, in.view, r.lights, in.gamma, appState, r.litGroups,
               in.litVariants);
    endPass(in);
    if (!in.skip.character) {
        beginPass(in, "character lit");
        prepareCharacterLitDraw(scene.phongSkinnedProgram, r.targets, in.view, r.lights, in.gamma, appState);
        drawCharacter(scene, r, in, scene.phongSkinnedProgram, false);
        endPass(in);
    }

    runSoundCues(soundCues, soundEngine, appState.flightTime);

    if (!in.skip.particles) {
        beginPass(in, "particles");
        runParticlePass(scene.emitters, r.emitterPlacements, in.view.view, in.view.projection,
                        appState.deltaTime);
        endPass(in);
        if (in.timer)
            noteLiveParticles(*in.timer, liveParticles(scene));
    }

    beginPass(in, "final");
    runViewPass(scene.colorProgram, *in.views, r.targets, in.shownView);
    endPass(in);
}

void reportBenchmark(PassTimer& timer, const Options& options) {
    finishTiming(timer);
    std::cout << "\nBenchmark (GPU time per pass, CPU time per frame):" << std::endl;
    printSummary(std::cout, timer.record);
    if (options.benchmarkCsv.empty())
        return;
    std::ofstream csv(options.benchmarkCsv);
    writeCsv(csv, timer.record);
    if (!csv)
        std::cerr << "Could not write the benchmark table to " << options.benchmarkCsv << "." << std::endl;
}

void writeScreenshotsOfFrame(GLFWwindow* window, const Options& options, long long frameNumber) {
    for (const ScreenshotRequest& request : options.screenshots) {
        if (request.frame != frameNumber)
            continue;
        int width = 0;
        int height = 0;
        glfwGetFramebufferSize(window, &width, &height);
        writeScreenshot(request.path, width, height);
    }
}

void reportScreenshotsNotTaken(const Options& options, long long framesRun) {
    for (const ScreenshotRequest& request : options.screenshots)
        if (request.frame > framesRun)
            std::cerr << "Screenshot " << request.path << " of frame " << request.frame
                      << " was not written: the run ended after " << framesRun << " frames." << std::endl;
}

} // namespace

bool runFrameLoop(GLFWwindow* window, Scene& scene, FrameResources& resources, const Settings& settings,
                  const Options& options, FrameClock& clock, SoundEngine* soundEngine) {
    SoundCues soundCues;
    PassTimer timer;
    FrameInputs in;
    in.gamma = settings.gamma;
    in.skip = options.skippedPasses;
    BufferViews views = createBufferViews("../assets/shaders/");
    in.views = &views;
    LitVariants litVariants = createLitVariants("../assets/shaders/");
    in.litVariants = &litVariants;
    Hud hud;
    startHud(hud, window, options.hud, options.view);
    Recorder recorder;
    const bool recording = !options.recordDir.empty();
    if (recording) {
        recorder.expectedFrames = recordingFrameCount(flightEndSeconds, options.fps);
        if (options.maxFrames > 0)
            recorder.expectedFrames = std::min(recorder.expectedFrames, options.maxFrames);
        if (!startRecording(
                recorder, {options.recordDir, options.fps, settings.width, settings.height, settings.volume}))
            return false;
    }
    const CameraPath cameraPath;
    LightFlicker flicker;
    flicker.pointColors = scene.lights.pointStartColors;
    // What an outage shows: the flicker still draws its random values, so nothing else changes.
    const std::array<glm::vec3, 3> lampsOut{};
    long long frameNumber = 0;
    DesktopWindow desktop = startDesktopWindow(window, settings, options);
    SceneClock sceneClock;
    FpsTitle fpsTitle;
    float wallDeltaTime = 0.0f;

    if (!glfwWindowShouldClose(window)) {
        while (appState.flightTime < flightEndSeconds) {
            if (waitWhileMinimised(window, desktop) && glfwWindowShouldClose(window))
                break;
            ++frameNumber;
            in.timer = options.benchmark ? &timer : hudTimerForFrame(hud);
            if (in.timer)
                beginTimedFrame(*in.timer);
            // Start-up left the clear colour black, so only the very first frame starts black.
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
            glfwPollEvents();
            beginHudFrame(hud, in.timer, in.skip, liveParticles(scene));
            // Moves the free camera by the previous frame's wall-clock step (0 in the first frame): it
            // moves while the scene is paused too.
            appState.deltaTime = wallDeltaTime;
            if (!hudWantsKeyboard(hud))
                processInput(window);
            followFramebufferSize(window, desktop, resources.targets);

            // From here on the frame runs on the scene's clock, which stands still while paused.
            const bool held = appState.paused || desktop.resuming;
            const FrameTime time = tickFrameClock(clock, glfwGetTime());
            const FrameTime sceneTime = advanceSceneClock(sceneClock, time, held);
            wallDeltaTime = desktop.resuming ? 0.0f : time.deltaTime;
            desktop.resuming = false;
            in.now = sceneTime.now;
            appState.deltaTime = sceneTime.deltaTime;
            if (appState.automaticCam)
                cameraPath.advance(camera, appState.flightTime, appState.deltaTime);
            // The flicker draws its random values every frame it runs, so a held frame skips it whole.
            if (!held)
                updateFlicker(flicker, appState.deltaTime, drawUnitRandom);
            setPointColors(resources.lights, in.skip.lamps ? lampsOut : flicker.pointColors);
            in.view.projection = projectionMatrix(resources.targets.width, resources.targets.height);
            in.view.view = camera.viewMatrix();
            in.view.viewProj = in.view.projection * in.view.view;
            in.view.cameraPosition = camera.position;

            in.shownView = hud.view;
            in.geometry = geometryProgramsFor(views, scene.geometryProgram, scene.geometryUnshadowedProgram,
                                              scene.geometrySkinnedProgram, in.shownView);
            drawFramePasses(scene, resources, in, soundCues, soundEngine);

            writeScreenshotsOfFrame(window, options, frameNumber);
            if (windowRequests.screenshot) {
                windowRequests.screenshot = false;
                writeDatedScreenshot(options.screenshotDir, resources.targets.width,
                                     resources.targets.height);
            }
            if (recording)
                recordFrame(recorder, frameNumber, readBackBuffer(settings.width, settings.height));
            // After every read-back: no written image contains the panel. While it is shown it is
            // timed like a pass, so its own cost shows in its table and in --benchmark.
            if (hud.frameOpen)
                beginPass(in, "panel");
            drawHud(hud);
            endPass(in);
            glfwSwapBuffers(window);
            glfwPollEvents();
            const std::string title = countFrameForTitle(fpsTitle, glfwGetTime());
            if (!title.empty())
                glfwSetWindowTitle(window, title.c_str());
            serveFullScreenKey(window, desktop);
            if (glfwWindowShouldClose(window))
                break;
            if (options.maxFrames > 0 && frameNumber >= options.maxFrames)
                break;
            if (options.loop)
                restartFlightAtEnd(appState.flightTime, flightEndSeconds, resources.characterScript,
                                   soundCues);
        }
    }
    stopHud(hud);
    reportScreenshotsNotTaken(options, frameNumber);
    if (options.benchmark)
        reportBenchmark(timer, options);
    return recording ? finishRecording(recorder) : true;
}
