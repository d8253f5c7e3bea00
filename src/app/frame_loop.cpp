// The frame, step by step. Each pass sets the GL state it relies on; the loop itself only clears the
// window's framebuffer at the top of the frame.
#include "app/frame_loop.hpp"

#include "app/app_state.hpp"
#include "app/input.hpp"
#include "app/light_flicker.hpp"
#include "app/screenshot.hpp"
#include "app/sound_cues.hpp"
#include "camera/camera_path.hpp"
#include "render/unit_random.hpp"

#include <iostream>

namespace {

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

void runFrameLoop(GLFWwindow* window, Scene& scene, const Settings& settings, const Options& options,
                  FrameClock& clock, SoundEngine* soundEngine) {
    SoundCues soundCues;
    const CameraPath cameraPath;
    LightFlicker flicker;
    flicker.pointColors = scene.lights.pointStartColors;
    FrameValues frame;
    long long frameNumber = 0;

    if (!glfwWindowShouldClose(window)) {
        while (appState.flightTime < flightEndSeconds) {
            ++frameNumber;
            // Start-up left the clear colour black, so only the very first frame starts black.
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
            glfwPollEvents();
            // Moves the free camera by the previous frame's deltaTime (0 in the first frame).
            processInput(window);

            const FrameTime time = tickFrameClock(clock, glfwGetTime());
            frame.now = time.now;
            appState.deltaTime = time.deltaTime;
            if (appState.automaticCam)
                cameraPath.advance(camera, appState.flightTime, appState.deltaTime);
            updateFlicker(flicker, appState.deltaTime, drawUnitRandom);
            frame.projection = projectionMatrix(settings.width, settings.height);
            frame.view = camera.viewMatrix();
            frame.viewProj = frame.projection * frame.view;

            // The passes draw here, in their fixed order: shadow, geometry buffer, occlusion and blur,
            // lit scene, character sound cues, particles, final copy to the window.
            runSoundCues(soundCues, soundEngine, appState.flightTime);

            writeScreenshotsOfFrame(window, options, frameNumber);
            glfwSwapBuffers(window);
            glfwPollEvents();
            if (glfwWindowShouldClose(window))
                break;
            if (options.maxFrames > 0 && frameNumber >= options.maxFrames)
                break;
        }
    }
    reportScreenshotsNotTaken(options, frameNumber);
}
